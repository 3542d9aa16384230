// The JSON form against documents made to harm: nesting deep enough to
// exhaust a recursive reader or writer, and keys given twice.
#include <gtest/gtest.h>

#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/Commands.h"
#include "model/CPagewellDoc.h"
#include "model/CProjectJson.h"
#include "support/CScriptedUserInterface.h"
#include "support/TestFiles.h"

namespace {

// A tree of one chain of pages, depth levels below the root.
std::string ChainJson(int depth)
{
    std::string text = R"({"tree": [)";
    for (int i = 0; i <= depth; ++i)
        text += R"({"tag": "p)" + std::to_string(i) + R"(", "children": [)";
    for (int i = 0; i <= depth; ++i)
        text += "]}";
    return text + "]}";
}

class HostileJson : public ::testing::Test {
protected:
    int Import(const std::string& json)
    {
        WriteWholeFile(m_folder.File("in.json"), json);
        m_err.str("");
        return RunCli({ "import", m_folder.File("in.json"), m_folder.File("out.pwl") }, m_out, m_err);
    }
    CTempFolder m_folder;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(HostileJson, RefusesDocumentsNestedTooDeeplyOrWithDuplicateKeys)
{
    const std::string deep = std::string(50000, '[') + std::string(50000, ']');
    const std::pair<std::string, std::string> cases[] = {
        { deep, "the document is nested deeper than 10000 levels" },
        { ChainJson(CProjectJson::kMaxDepth / 2), "the document is nested deeper than 10000 levels" },
        { R"({"properties": {}, "properties": {}})", "duplicate key properties" },
        { R"({"tree": [{"tag": "a"}, {"tag": "b", "info": {"icon": "x", "icon": "y"}}]})",
            "duplicate key tree[1].info.icon" },
        { R"({"tree": [{"tag": "a", "children": [[], {"tag": "b", "tag": "c"}]}]})",
            "duplicate key tree[0].children[1].tag" },
    };
    for (const auto& [json, message] : cases) {
        SCOPED_TRACE(message);
        EXPECT_EQ(Import(json), kExitUsage);
        EXPECT_NE(m_err.str().find(": " + message + "\n"), std::string::npos) << m_err.str();
        EXPECT_FALSE(std::filesystem::exists(m_folder.File("out.pwl")));
    }
    // Equal keys in different objects are no duplicates; the deepest tree
    // within the limit is read.
    EXPECT_EQ(Import(R"({"tree": [{"tag": "a", "children": [{"tag": "b"}]}]})"), kExitOk) << m_err.str();
    EXPECT_EQ(Import(ChainJson(CProjectJson::kMaxDepth / 2 - 2)), kExitOk) << m_err.str();
}

TEST_F(HostileJson, ExportIsTheDumpOfTheDocumentAtAnyDepth)
{
    CScriptedUserInterface ui;
    CPagewellDoc doc(ui);
    CProjectJson::FromJson(CProjectJson::Parse(R"({"tree": [{"tag": "a", "children": [{"tag": "b"},
        {"tag": "c", "children": [{"tag": "d"}]}, {"tag": "e"}]}, {"tag": "odd"}]})"),
        doc);
    for (int i = 0; i < 2; ++i) {
        std::ostringstream streamed;
        CProjectJson::WriteJson(doc, streamed);
        EXPECT_EQ(streamed.str(), CProjectJson::ToJson(doc).dump(2));
        doc.m_tree.DeleteAllItems(); // and an empty tree
    }

    // As deep as a recursive writer overflowed the stack under the
    // sanitizers: the streamed form has the output's size, counted here.
    class CCountingBuffer : public std::streambuf {
    public:
        size_t m_nCount = 0;

    protected:
        std::streamsize xsputn(const char* /*data*/, std::streamsize count) override
        {
            m_nCount += static_cast<size_t>(count);
            return count;
        }
        int overflow(int c) override
        {
            ++m_nCount;
            return c;
        }
    };
    HTREEITEM hParent = nullptr;
    for (int i = 0; i < 3000; ++i)
        hParent = doc.m_tree.InsertItem("p", std::make_unique<CNode>(nullptr), hParent, ETreeInsert::Last);
    CCountingBuffer counter;
    std::ostream out(&counter);
    CProjectJson::WriteJson(doc, out);
    EXPECT_GT(counter.m_nCount, size_t { 3000 } * 3000 * 2 * 10);
}

} // namespace
