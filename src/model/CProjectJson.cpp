#include "model/CProjectJson.h"

#include <cstdio>
#include <deque>
#include <memory>
#include <set>
#include <sstream>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/CPagewellDoc.h"
#include "model/CTreeStream.h"
#include "model/JsonPlace.h"
#include "platform/CArchive.h"
#include "platform/CCodePage.h"

using Json = nlohmann::ordered_json;

namespace {

// Both directions walk the same field lists, so a key is named once.
template <typename Visitor> void VisitProperties(CDocProperties& p, Visitor& v)
{
    v.String("author", p.m_strAuthor);
    v.String("bgBitmap", p.m_strBgBitmap);
    v.String("email", p.m_strEmail);
    v.Dword("expireDays", p.m_nExpireDays);
    v.String("image", p.m_strImage);
    v.String("lineImage", p.m_strLineImage);
    v.Dword("new", p.m_bNew);
    v.Dword("updated", p.m_bUpdated);
    v.Color("textColor", p.m_clrText);
    v.Color("bgColor", p.m_clrBg);
    v.Color("linkColor", p.m_clrLink);
    v.Color("vlinkColor", p.m_clrVLink);
    v.String("bullet", p.m_strBullet);
    v.Dword("construction", p.m_bConstruction);
    v.String("homeButton", p.m_strHomeButton);
    v.String("template", p.m_strTemplate);
    v.String("backButton", p.m_strBackButton);
    v.String("upButton", p.m_strUpButton);
    v.String("constructionImage", p.m_strConstructionImage);
    v.String("newImage", p.m_strNewImage);
    v.String("updatedImage", p.m_strUpdatedImage);
    v.Colors("customColors", p.m_clrCustom);
}

template <typename Visitor> void VisitInfo(CDocInfo& i, Visitor& v)
{
    v.String("bgBitmap", i.m_strBgBitmap);
    v.Dword("expireDays", i.m_nExpireDays);
    v.String("icon", i.m_strIcon);
    v.String("lineImage", i.m_strLineImage);
    v.Dword("new", i.m_bNew);
    v.Color("textColor", i.m_clrText);
    v.Color("bgColor", i.m_clrBg);
    v.Color("linkColor", i.m_clrLink);
    v.Color("vlinkColor", i.m_clrVLink);
    v.String("template", i.m_strTemplate);
    v.Dword("construction", i.m_bConstruction);
    v.Dword("updated", i.m_bUpdated);
}

template <typename Visitor> void VisitNode(CString& tag, CNode& n, Visitor& v)
{
    v.String("tag", tag);
    v.Dword("type", n.m_nType);
    v.String("title", n.m_strTitle);
    v.String("text", n.m_strText);
    v.Dword("textFormat", n.m_nTextFormat);
    v.Dword("titleFormat", n.m_nTitleFormat);
    v.Stamp("stamp", n.m_tStamp);
}

std::string FormatColor(COLORREF color)
{
    char text[16];
    const unsigned red = color & 0xFF;
    const unsigned green = (color >> 8) & 0xFF;
    const unsigned blue = (color >> 16) & 0xFF;
    const unsigned top = color >> 24;
    if (top != 0)
        std::snprintf(text, sizeof text, "#%02X%02X%02X%02X", top, red, green, blue);
    else
        std::snprintf(text, sizeof text, "#%02X%02X%02X", red, green, blue);
    return text;
}

bool ParseColor(const std::string& text, COLORREF& color)
{
    if ((text.size() != 7 && text.size() != 9) || text[0] != '#')
        return false;
    uint32_t value = 0;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        uint32_t digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<uint32_t>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<uint32_t>(c - 'a' + 10);
        else
            return false;
        value = (value << 4) | digit;
    }
    // value is 0xXXRRGGBB (XX 0 for the short form); COLORREF is 0xXXBBGGRR.
    const uint32_t red = (value >> 16) & 0xFF;
    const uint32_t green = (value >> 8) & 0xFF;
    const uint32_t blue = value & 0xFF;
    color = (value & 0xFF000000) | (blue << 16) | (green << 8) | red;
    return true;
}

class CJsonWriter {
public:
    explicit CJsonWriter(Json& out)
        : m_out(out)
    { }
    void String(const char* key, const CString& value) { m_out[key] = CCodePage::ToUtf8(value); }
    template <typename T> void Dword(const char* key, const T& value)
    {
        m_out[key] = static_cast<uint32_t>(value);
    }
    void Stamp(const char* key, int32_t value) { m_out[key] = value; }
    void Color(const char* key, COLORREF value) { m_out[key] = FormatColor(value); }
    void Colors(const char* key, const std::array<COLORREF, 16>& values)
    {
        Json array = Json::array();
        for (const COLORREF color : values)
            array.push_back(FormatColor(color));
        m_out[key] = std::move(array);
    }

private:
    Json& m_out;
};

// Where a value sits in the document, as a link to its container, so that a
// deep tree's names are made only when a message needs one (making every
// name would take time growing with the square of the depth).
struct CJsonPath {
    const CJsonPath* pParent = nullptr;
    std::string strKey; // the key in an object, or empty for an element
    size_t nIndex = 0; // the element's index when strKey is empty

    // "tree[0].children[2]"; empty for the document.
    std::string ToString() const
    {
        std::vector<const CJsonPath*> chain;
        for (const CJsonPath* p = this; p != nullptr && (p->pParent != nullptr || !p->strKey.empty());
             p = p->pParent)
            chain.push_back(p);
        std::string text;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            if ((*it)->strKey.empty())
                text += "[" + std::to_string((*it)->nIndex) + "]";
            else
                text += (text.empty() ? "" : ".") + (*it)->strKey;
        }
        return text;
    }
};

class CJsonReader {
public:
    CJsonReader(const Json& in, const CJsonPath& path)
        : m_in(in)
        , m_path(path)
    {
        if (!m_in.is_object())
            Fail(m_path.ToString(), "an object");
    }

    void String(const char* key, CString& value)
    {
        if (const Json* p = Find(key)) {
            if (!p->is_string())
                Fail(Name(key), "a string");
            value = CCodePage::FromUtf8(p->get_ref<const std::string&>());
        }
    }
    template <typename T> void Dword(const char* key, T& value)
    {
        if (const Json* p = Find(key))
            value = static_cast<T>(ReadInteger(*p, key));
    }
    void Stamp(const char* key, int32_t& value)
    {
        if (const Json* p = Find(key))
            value = static_cast<int32_t>(ReadInteger(*p, key));
    }
    void Color(const char* key, COLORREF& value)
    {
        if (const Json* p = Find(key)) {
            if (!ReadColor(*p, value))
                Fail(Name(key), kColorForm);
        }
    }
    void Colors(const char* key, std::array<COLORREF, 16>& values)
    {
        const Json* p = Find(key);
        if (p == nullptr)
            return;
        if (!p->is_array() || p->size() != values.size())
            Fail(Name(key), "an array of 16 colours");
        for (size_t i = 0; i < values.size(); ++i) {
            if (!ReadColor((*p)[i], values[i]))
                Fail(Name(key) + "[" + std::to_string(i) + "]", kColorForm);
        }
    }

    const Json* Find(const char* key)
    {
        m_seen.insert(key);
        const auto it = m_in.find(key);
        return it == m_in.end() ? nullptr : &*it;
    }
    std::string Name(const std::string& key) const
    {
        const std::string path = m_path.ToString();
        return path.empty() ? key : path + "." + key;
    }

    // Every key of the object must be one the form knows.
    void RejectUnknownKeys() const
    {
        for (const auto& item : m_in.items()) {
            if (m_seen.count(item.key()) == 0)
                throw CJsonFormatError("unknown key " + Name(item.key()), Name(item.key()));
        }
    }

    [[noreturn]] static void Fail(const std::string& name, const char* expected)
    {
        throw CJsonFormatError(
            (name.empty() ? std::string("the document") : name) + " must be " + expected, name);
    }

private:
    static constexpr const char* kColorForm = "a colour \"#RRGGBB\" or \"#XXRRGGBB\"";

    uint32_t ReadInteger(const Json& value, const char* key) const
    {
        // A DWORD as stored; a negative number is taken as its 32-bit pattern.
        if (value.is_number_unsigned() && value.get<uint64_t>() <= 0xFFFFFFFFu)
            return static_cast<uint32_t>(value.get<uint64_t>());
        if (value.is_number_integer() && value.get<int64_t>() >= INT32_MIN && value.get<int64_t>() <= 0)
            return static_cast<uint32_t>(static_cast<int32_t>(value.get<int64_t>()));
        Fail(Name(key), "an integer from -2147483648 to 4294967295");
    }
    static bool ReadColor(const Json& value, COLORREF& color)
    {
        return value.is_string() && ParseColor(value.get_ref<const std::string&>(), color);
    }

    const Json& m_in;
    const CJsonPath& m_path;
    std::set<std::string> m_seen;
};

Json NodeToJson(HTREEITEM hItem)
{
    Json out = Json::object();
    CString tag = hItem->GetLabel();
    CNode& node = *hItem->GetNode();
    CJsonWriter writer(out);
    VisitNode(tag, node, writer);
    Json info = Json::object();
    CJsonWriter infoWriter(info);
    VisitInfo(node.m_info, infoWriter);
    out["info"] = std::move(info);
    out["children"] = Json::array();
    return out;
}

// The JSON of hFirst's branch, and of the branches of its later siblings
// when bSiblings. Iterative, with the path of open "children" arrays, so a
// deep tree does not recurse here.
Json ItemsToJson(HTREEITEM hFirst, bool bSiblings)
{
    Json top = Json::array();
    std::vector<Json*> open { &top };
    const HTREEITEM hStop = bSiblings ? nullptr : hFirst;
    for (HTREEITEM h = hFirst; h != nullptr;) {
        Json& added = open.back()->emplace_back(NodeToJson(h));
        if (h->GetFirstChild() != nullptr) {
            open.push_back(&added["children"]);
            h = h->GetFirstChild();
            continue;
        }
        while (h != nullptr && h != hStop && h->GetNextSibling() == nullptr) {
            h = h->GetParent();
            if (h != nullptr)
                open.pop_back();
        }
        h = h == nullptr || h == hStop ? nullptr : h->GetNextSibling();
    }
    return top;
}

Json TreeToJson(const CSiteTree& tree)
{
    return ItemsToJson(tree.GetRootItem(), true);
}

// The text of a value as dump(2) writes it at nesting level (every line after
// the first indented by 2 * level more spaces).
std::string DumpAt(const Json& value, size_t level)
{
    const std::string text = value.dump(2);
    const std::string indent(2 * level, ' ');
    std::string shifted;
    shifted.reserve(text.size());
    for (const char c : text) {
        shifted += c;
        // A string value's line ends are escaped: every LF is the dump's own.
        if (c == '\n')
            shifted += indent;
    }
    return shifted;
}

// Writes the "tree" array as dump(2) would at level 1, one object at a time.
void WriteTree(const CSiteTree& tree, std::ostream& out)
{
    if (tree.GetRootItem() == nullptr) {
        out << "[]";
        return;
    }
    out << "[\n" << std::string(4, ' ');
    size_t level = 2; // of the objects at hand
    for (HTREEITEM h = tree.GetRootItem(); h != nullptr;) {
        Json node = NodeToJson(h);
        node.erase("children");
        std::string text = DumpAt(node, level);
        text.erase(text.rfind('\n')); // the closing brace comes after the children
        out << text << ",\n" << std::string(2 * (level + 1), ' ') << "\"children\": ";
        if (h->GetFirstChild() != nullptr) {
            out << "[\n" << std::string(2 * (level + 2), ' ');
            level += 2;
            h = h->GetFirstChild();
            continue;
        }
        out << "[]\n" << std::string(2 * level, ' ') << '}';
        while (h != nullptr && h->GetNextSibling() == nullptr) {
            h = h->GetParent();
            level -= 2;
            out << '\n' << std::string(2 * (level + 1), ' ') << ']';
            if (h != nullptr)
                out << '\n' << std::string(2 * level, ' ') << '}';
        }
        if (h != nullptr) {
            out << ",\n" << std::string(2 * level, ' ');
            h = h->GetNextSibling();
        }
    }
}

void ReadNodes(const Json& array, const CJsonPath& path, CSiteTree& tree, HTREEITEM hParent)
{
    struct CPending {
        const Json* pArray;
        const CJsonPath* pPath;
        HTREEITEM hParent;
    };
    // The paths of the arrays still to read; a deque keeps them in place.
    std::deque<CJsonPath> paths;
    std::vector<CPending> pending { { &array, &path, hParent } };
    while (!pending.empty()) {
        const CPending next = pending.back();
        pending.pop_back();
        if (!next.pArray->is_array())
            CJsonReader::Fail(next.pPath->ToString(), "an array");
        for (size_t i = 0; i < next.pArray->size(); ++i) {
            const CJsonPath itemPath { next.pPath, {}, i };
            CJsonReader reader((*next.pArray)[i], itemPath);
            auto pNode = std::make_unique<CNode>(nullptr);
            CString tag;
            VisitNode(tag, *pNode, reader);
            // An object of another type would pass the editor and fail every
            // run: no template is made for it.
            if (pNode->m_nType > NODE_LINK)
                CJsonReader::Fail(reader.Name("type"), "0 (page), 1 (paragraph) or 2 (link)");
            if (const Json* pInfo = reader.Find("info")) {
                const CJsonPath infoPath { &itemPath, "info" };
                CJsonReader infoReader(*pInfo, infoPath);
                VisitInfo(pNode->m_info, infoReader);
                infoReader.RejectUnknownKeys();
            }
            const Json* pChildren = reader.Find("children");
            reader.RejectUnknownKeys();
            HTREEITEM hItem = tree.InsertItem(tag, std::move(pNode), next.hParent, ETreeInsert::Last);
            if (pChildren != nullptr) {
                const CJsonPath& stored = paths.emplace_back(itemPath);
                paths.push_back({ &stored, "children" });
                pending.push_back({ pChildren, &paths.back(), hItem });
            }
        }
    }
}

// Checks a document before it is parsed into values: its depth, and that no
// object gives a key twice. A reader of events (SAX) of its own, since
// nlohmann's parser with a callback scans an array's elements each time an
// object in it ends, which takes time growing with the square of its size.
class CParseChecker : public nlohmann::json_sax<Json> {
public:
    bool null() override { return StartElement(); }
    bool boolean(bool /*value*/) override { return StartElement(); }
    bool number_integer(number_integer_t /*value*/) override { return StartElement(); }
    bool number_unsigned(number_unsigned_t /*value*/) override { return StartElement(); }
    bool number_float(number_float_t /*value*/, const string_t& /*text*/) override { return StartElement(); }
    bool string(string_t& /*value*/) override { return StartElement(); }
    bool binary(binary_t& /*value*/) override { return StartElement(); }
    bool start_object(std::size_t /*count*/) override { return Open(false); }
    bool key(string_t& value) override
    {
        COpen& open = m_open.back();
        open.strKey = value;
        if (!open.keys.insert(value).second)
            throw CJsonFormatError("duplicate key " + Path(), Path());
        return true;
    }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t /*count*/) override { return Open(true); }
    bool end_array() override { return Close(); }
    // The parser that follows reports the error with its own message.
    bool parse_error(std::size_t /*position*/, const std::string& /*token*/,
        const nlohmann::detail::exception& /*error*/) override
    {
        return false;
    }

private:
    struct COpen {
        bool bArray;
        size_t nNext = 0; // of an array: the index of its next element
        std::string strKey; // of an object: the key being read
        std::set<std::string> keys;
    };
    bool StartElement()
    {
        if (!m_open.empty() && m_open.back().bArray)
            ++m_open.back().nNext;
        return true;
    }
    bool Open(bool bArray)
    {
        StartElement();
        if (m_open.size() >= static_cast<size_t>(CProjectJson::kMaxDepth))
            throw CJsonFormatError(
                "the document is nested deeper than " + std::to_string(CProjectJson::kMaxDepth) + " levels");
        m_open.push_back({ bArray, 0, {}, {} });
        return true;
    }
    bool Close()
    {
        m_open.pop_back();
        return true;
    }
    std::string Path() const
    {
        std::string text;
        for (const COpen& open : m_open) {
            if (open.bArray)
                text += "[" + std::to_string(open.nNext - 1) + "]";
            else
                text += (text.empty() ? "" : ".") + open.strKey;
        }
        return text;
    }

    std::vector<COpen> m_open;
};

// The document with its "tree" key, empty, in its place.
Json ToJsonWithoutTree(const CDocProperties& docProps, const CGenerateDlg& generate)
{
    Json out = Json::object();
    Json props = Json::object();
    CJsonWriter writer(props);
    VisitProperties(const_cast<CDocProperties&>(docProps), writer);
    out["properties"] = std::move(props);
    out["tree"] = Json::array();
    out["generate"] = { { "destination", CCodePage::ToUtf8(generate.m_strDestination) },
        { "spare", CCodePage::ToUtf8(generate.m_strSpare) } };
    return out;
}

void WriteParts(
    const CDocProperties& props, const CSiteTree& tree, const CGenerateDlg& generate, std::ostream& out)
{
    Json top = ToJsonWithoutTree(props, generate);
    out << "{\n  \"properties\": " << DumpAt(top["properties"], 1) << ",\n  \"tree\": ";
    WriteTree(tree, out);
    out << ",\n  \"generate\": " << DumpAt(top["generate"], 1) << "\n}";
}

} // namespace

Json CProjectJson::ToJson(const CPagewellDoc& doc)
{
    Json out = ToJsonWithoutTree(doc.m_props, doc.m_dlgGenerate);
    out["tree"] = TreeToJson(doc.m_tree);
    return out;
}

Json CProjectJson::BranchToJson(HTREEITEM hItem)
{
    return std::move(ItemsToJson(hItem, false).front());
}

Json CProjectJson::Parse(const std::string& text)
{
    // Text that is not JSON stops the check; the parse then throws the
    // parser's own message.
    CParseChecker checker;
    Json::sax_parse(text, &checker);
    return Json::parse(text);
}

void CProjectJson::WriteJson(const CPagewellDoc& doc, std::ostream& out)
{
    WriteParts(doc.m_props, doc.m_tree, doc.m_dlgGenerate, out);
}

void CProjectJson::FromJson(const Json& json, CPagewellDoc& doc)
{
    FromJson(json, doc.m_props, doc.m_tree, doc.m_dlgGenerate);
}

void CProjectJson::FromJson(const Json& json, CDocProperties& props, CSiteTree& tree, CGenerateDlg& generate)
{
    const CJsonPath document;
    CJsonReader top(json, document);
    if (const Json* pProps = top.Find("properties")) {
        const CJsonPath path { &document, "properties" };
        CJsonReader reader(*pProps, path);
        VisitProperties(props, reader);
        reader.RejectUnknownKeys();
    }
    if (const Json* pGenerate = top.Find("generate")) {
        const CJsonPath path { &document, "generate" };
        CJsonReader reader(*pGenerate, path);
        reader.String("destination", generate.m_strDestination);
        reader.String("spare", generate.m_strSpare);
        reader.RejectUnknownKeys();
    }
    tree.DeleteAllItems();
    if (const Json* pTree = top.Find("tree")) {
        const CJsonPath treePath { &document, "tree" };
        ReadNodes(*pTree, treePath, tree, nullptr);
    }
    top.RejectUnknownKeys();
}

std::string CProjectJson::ToText(const CPagewellDoc& doc)
{
    std::ostringstream out;
    WriteJson(doc, out);
    out << '\n';
    return std::move(out).str();
}

std::string CProjectJson::ArchiveToText(std::string_view archive)
{
    // Fresh records, never a document: this runs beside the window's thread.
    CDocProperties props;
    CSiteTree tree;
    CGenerateDlg generate;
    CArchive ar(archive);
    props.Serialize(ar);
    CTreeStream::Read(ar, tree);
    generate.Serialize(ar);
    std::ostringstream out;
    WriteParts(props, tree, generate, out);
    out << '\n';
    return std::move(out).str();
}

std::string CProjectJson::ReadText(
    const std::string& text, CDocProperties& props, CSiteTree& tree, CGenerateDlg& generate)
{
    try {
        FromJson(Parse(text), props, tree, generate);
    } catch (const nlohmann::json::parse_error& e) {
        // "[json.exception.parse_error.101] parse error at line 3, column 5: ..."
        const std::string what = e.what();
        constexpr std::string_view kAt = "parse error at ";
        const size_t at = what.find(kAt);
        return at == std::string::npos ? what : what.substr(at + kAt.size());
    } catch (const nlohmann::json::exception& e) {
        return std::string("invalid JSON: ") + e.what();
    } catch (const CJsonFormatError& e) {
        if (const auto place = FindJsonValue(text, e.GetPath()))
            return "line " + std::to_string(place->nLine) + ", column " + std::to_string(place->nColumn)
                + ": " + e.what();
        return e.what();
    }
    if (tree.IsEmpty())
        return "the tree is empty; a project needs at least its root page";
    return {};
}
