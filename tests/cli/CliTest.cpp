#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>

#include "cli/Commands.h"
#include "generator/MacroTable.h"
#include "model/CPagewellDoc.h"
#include "model/CSiteSettings.h"
#include "platform/CArchive.h"
#include "support/CScriptedUserInterface.h"
#include "support/TestFiles.h"

namespace {

struct CRun {
    int status;
    std::string out;
    std::string err;
};

CRun RunTool(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(args, out, err);
    return { status, out.str(), err.str() };
}

const char* kSmallProject = R"({
  "properties": {"author": "Zo\u00e9 \u20ac \u4e2d", "customColors": ["#010203", "#FF000000", "#FFFFFF", "#FFFFFF",
    "#FFFFFF", "#FFFFFF", "#FFFFFF", "#FFFFFF", "#FFFFFF", "#FFFFFF", "#FFFFFF", "#FFFFFF", "#FFFFFF", "#FFFFFF",
    "#FFFFFF", "#ABCDEF12"]},
  "tree": [{"tag": "Index", "title": "Home", "stamp": -1, "children": [
     {"tag": "news", "type": 1, "text": "a\r\nb", "info": {"textColor": "#FF0000", "expireDays": 4294967295}},
     {"tag": "me", "type": 2, "title": "Me\r\nhttp://example.com/"}]}],
  "generate": {"destination": "/tmp/out", "spare": ""}
})";

class Cli : public ::testing::Test {
protected:
    std::string Json(const std::string& name, const std::string& text)
    {
        const std::string path = m_folder.File(name);
        WriteWholeFile(path, text);
        return path;
    }
    CTempFolder m_folder;
};

TEST_F(Cli, ImportThenExportThenImportGivesTheSameBytes)
{
    const std::string pwl = m_folder.File("a.pwl");
    ASSERT_EQ(RunTool({ "import", Json("a.json", kSmallProject), pwl }).status, 0);
    const CRun exported = RunTool({ "export", pwl });
    ASSERT_EQ(exported.status, 0) << exported.err;
    const std::string again = m_folder.File("b.pwl");
    ASSERT_EQ(RunTool({ "import", Json("b.json", exported.out), again }).status, 0);
    EXPECT_EQ(ReadWholeFile(pwl), ReadWholeFile(again));
    EXPECT_EQ(RunTool({ "export", again }).out, exported.out) << "export is stable";
}

TEST_F(Cli, ExportShowsTheStoredValues)
{
    const std::string pwl = m_folder.File("a.pwl");
    ASSERT_EQ(RunTool({ "import", Json("a.json", kSmallProject), pwl }).status, 0);
    const std::string out = RunTool({ "export", pwl }).out;
    EXPECT_NE(out.find("\"author\": \"Zoé € &#20013;\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"stamp\": -1"), std::string::npos);
    EXPECT_NE(out.find("\"expireDays\": 4294967295"), std::string::npos);
    EXPECT_NE(out.find("\"textColor\": \"#FF0000\""), std::string::npos);
    EXPECT_NE(out.find("\"#FF000000\""), std::string::npos);
    EXPECT_NE(out.find("\"#ABCDEF12\""), std::string::npos);
    EXPECT_NE(out.find("\"text\": \"a\\r\\nb\""), std::string::npos);

    CScriptedUserInterface ui;
    CPagewellDoc doc(ui);
    ASSERT_TRUE(doc.DoFileOpen(pwl));
    EXPECT_EQ(doc.m_props.m_clrCustom[0], 0x030201u) << "#RRGGBB is red first";
    EXPECT_EQ(doc.m_props.m_clrCustom[15], 0xAB12EFCDu);
    EXPECT_EQ(doc.m_props.m_strAuthor, "Zo\xE9 \x80 &#20013;");
}

TEST_F(Cli, RefusesBadInputNamingTheKeyAndWritesNothing)
{
    struct {
        const char* json;
        const char* message;
    } cases[] = {
        { "{\"tree\": []}", "the tree is empty" },
        { "{\"tree\": [{\"tag\": 5}]}", "tree[0].tag must be a string" },
        { "{\"tree\": [{\"tag\": \"a\", \"children\": [{\"type\": -1.5}]}]}",
            "tree[0].children[0].type must be an integer" },
        { "{\"tree\": [{\"tag\": \"a\", \"stamp\": 4294967296}]}", "tree[0].stamp must be an integer" },
        { "{\"tree\": [{\"tag\": \"a\", \"children\": [{}, {\"type\": 3}]}]}",
            "tree[0].children[1].type must be 0 (page), 1 (paragraph) or 2 (link)" },
        { "{\"tree\": [{\"type\": -1}]}", "tree[0].type must be 0 (page)" },
        { "{\"properties\": {\"bgColor\": \"red\"}, \"tree\": [{}]}", "properties.bgColor must be a colour" },
        { "{\"properties\": {\"customColors\": []}, \"tree\": [{}]}",
            "properties.customColors must be an array of 16" },
        { "{\"tree\": [{\"info\": {\"icon\": true}}]}", "tree[0].info.icon must be a string" },
        { "{\"tree\": [{\"titel\": \"x\"}]}", "unknown key tree[0].titel" },
        { "{\"tree\": {}}", "tree must be an array" },
        { "[1]", "must be an object" },
        { "{\"tree\": [", "bad.json: not a JSON document (line 1, column 11): syntax error" },
        { "{\n  \"tree\": [\n    x]}", "bad.json: not a JSON document (line 3, column 5): syntax error" },
    };
    for (const auto& c : cases) {
        const std::string pwl = m_folder.File("bad.pwl");
        const CRun run = RunTool({ "import", Json("bad.json", c.json), pwl });
        EXPECT_EQ(run.status, 2) << c.json;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.json << " gave: " << run.err;
        EXPECT_TRUE(run.err.starts_with("pagewell-cli: ")) << run.err;
        EXPECT_EQ(run.err.find("json.exception"), std::string::npos) << run.err;
        EXPECT_EQ(ReadWholeFile(pwl), "") << "no file is written for " << c.json;
    }
}

TEST_F(Cli, ArgumentsAndUnreadableFiles)
{
    const CRun help = RunTool({ "--help" });
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: pagewell-cli"), std::string::npos);
    EXPECT_EQ(help.err, "");

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>> {
             {}, { "frobnicate" }, { "export" }, { "import", "a.json" }, { "export", "a", "b" } }) {
        const CRun run = RunTool(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("usage: pagewell-cli"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }

    const CRun missing = RunTool({ "export", m_folder.File("none.pwl") });
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "pagewell-cli: " + m_folder.File("none.pwl") + " was not found.\n");

    WriteWholeFile(m_folder.File("cut.pwl"),
        "\x05"
        "ab");
    const CRun cut = RunTool({ "export", m_folder.File("cut.pwl") });
    EXPECT_EQ(cut.status, 2);
    EXPECT_EQ(cut.err, "pagewell-cli: Unexpected file format.\n");
    EXPECT_EQ(cut.out, "");
}

TEST_F(Cli, AFifoNamedAsTheProjectIsRefusedWithoutWaiting)
{
    // Opening a FIFO for reading blocks until a writer comes: a command
    // that looked into it would hang here.
    const std::string fifo = m_folder.File("p.pwl");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const char* command : { "outline", "export", "generate", "check", "settings" }) {
        const CRun run = RunTool({ command, fifo });
        EXPECT_EQ(run.status, kExitUsage) << command;
        EXPECT_EQ(
            run.err, std::string("pagewell-cli: ") + command + ": " + fifo + " is not a regular file\n");
    }
    const CRun import = RunTool({ "import", fifo, m_folder.File("out.pwl") });
    EXPECT_EQ(import.status, kExitUsage);
    EXPECT_EQ(import.err, "pagewell-cli: cannot read " + fifo + "\n");
}

TEST_F(Cli, OutlineListsTheTreeIndented)
{
    const std::string pwl = m_folder.File("a.pwl");
    ASSERT_EQ(RunTool({ "import", Json("a.json", kSmallProject), pwl }).status, 0);
    EXPECT_EQ(RunTool({ "outline", pwl }).out,
        "page Index: Home\n  section news: Untitled\n  link me: Me | http://example.com/\n");
}

TEST_F(Cli, VersionAndTheHelpOfEveryCommand)
{
    const CRun version = RunTool({ "--version" });
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("pagewell-cli ") + kCliVersion + "\n");
    EXPECT_EQ(std::string("Pagewell ") + kCliVersion, kGeneratorName)
        << "one version for the pages and the tool";

    ASSERT_FALSE(CliCommands().empty());
    for (const CCliCommand& command : CliCommands()) {
        for (const char* help : { "--help", "-h" }) {
            // Given after a file name too: help wins and nothing is read.
            for (const std::vector<std::string>& args : std::vector<std::vector<std::string>> {
                     { command.pszName, help }, { command.pszName, "none.pwl", help } }) {
                const CRun run = RunTool(args);
                EXPECT_EQ(run.status, 0) << command.pszName << ' ' << help;
                EXPECT_EQ(run.out.rfind(std::string("usage: pagewell-cli ") + command.pszName + ' '
                                  + command.pszSynopsis + "\n\n" + command.pszSummary,
                              0),
                    0u)
                    << run.out;
                EXPECT_EQ(run.err, "") << command.pszName;
                // Only the names the options are given, none of the
                // parser's own type and range notes.
                for (const char* leftover : { ":INT", ":TEXT", "in [", ":UINT" })
                    EXPECT_EQ(run.out.find(leftover), std::string::npos) << leftover << " in\n" << run.out;
            }
        }
    }

    const std::string settingsHelp = RunTool({ "settings", "--help" }).out;
    for (const CSiteSettings::CKey& key : CSiteSettings::Keys())
        EXPECT_NE(settingsHelp.find("\n  " + std::string(key.strName)), std::string::npos) << key.strName;
    EXPECT_NE(settingsHelp.find("  markup=classic|modern\n"), std::string::npos) << settingsHelp;
}

TEST_F(Cli, UsageErrorsNameWhatWasWrong)
{
    const std::string json = Json("a.json", kSmallProject);
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        { {}, "pagewell-cli: no command given\n" },
        { { "frobnicate" }, "pagewell-cli: unknown command 'frobnicate'\n" },
        { { "--frob", "export" }, "pagewell-cli: unknown option '--frob'\n" },
        { { "export" }, "pagewell-cli: export: PROJECT.pwl is required\n" },
        { { "export", "-x.pwl" }, "pagewell-cli: export: unknown option '-x.pwl'" },
        { { "outline", "a.pwl", "b.pwl" },
            "pagewell-cli: outline: The following argument was not expected: b.pwl\n" },
        { { "import", json }, "pagewell-cli: import: OUT.pwl is required\n" },
        { { "generate", "a.pwl", "--dest" }, "pagewell-cli: generate: --dest: 1 required DIR missing\n" },
        { { "generate", "a.pwl", "--dest", "x", "--dest", "y" }, "pagewell-cli: generate: --dest: " },
        { { "generate", "a.pwl", "--fast" }, "pagewell-cli: generate: unknown option '--fast'" },
    };
    for (const auto& c : cases) {
        const CRun run = RunTool(c.args);
        EXPECT_EQ(run.status, kExitUsage) << c.message;
        EXPECT_EQ(run.err.rfind(c.message, 0), 0u) << run.err;
        EXPECT_NE(run.err.find("usage: pagewell-cli"), std::string::npos) << c.message;
        EXPECT_EQ(run.out, "") << c.message;
    }
    EXPECT_EQ(RunTool({ "export", "--", "-x.pwl" }).err, "pagewell-cli: -x.pwl was not found.\n");
}

TEST_F(Cli, JsonWhereAProjectBelongsIsReadAsTheProject)
{
    // Any name, a byte order mark and blank space before the text.
    const std::string pwl = m_folder.File("a.pwl");
    ASSERT_EQ(RunTool({ "import", Json("a.json", kSmallProject), pwl }).status, 0);
    const std::string exported = RunTool({ "export", pwl }).out;
    for (const char* name : { "b.json", "b.site" }) {
        const std::string json = Json(name, std::string("\xEF\xBB\xBF \n") + kSmallProject);
        const CRun run = RunTool({ "export", json });
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, exported) << name;
        EXPECT_EQ(RunTool({ "outline", json }).out, RunTool({ "outline", pwl }).out) << name;
    }
    // settings writes the project back in its own form, canonical.
    const std::string json = Json("c.json", exported);
    const CRun set = RunTool({ "settings", json, "lang=de" });
    EXPECT_EQ(set.status, 0) << set.err;
    const std::string after = ReadWholeFile(json);
    EXPECT_EQ(after.front(), '{');
    EXPECT_EQ(RunTool({ "export", json }).out, after);
    EXPECT_NE(after.find("lang=de"), std::string::npos) << after;

    // A JSON project that fails names the file, the line and the column.
    const std::string bad = Json("bad.json", "{\n  \"tree\": [\n    {\"tag\": 5}\n  ]\n}\n");
    const CRun failed = RunTool({ "outline", bad });
    EXPECT_EQ(failed.status, kExitUsage);
    EXPECT_EQ(failed.err, "pagewell-cli: " + bad + ": line 3, column 13: tree[0].tag must be a string\n");
    const std::string broken = Json("broken.json", "{\n  \"tree\": [\n    {\"tag\" \"a\"}\n  ]\n}\n");
    EXPECT_EQ(RunTool({ "outline", broken })
                  .err.rfind("pagewell-cli: " + broken + ": line 3, column 14: syntax error", 0),
        0u)
        << RunTool({ "outline", broken }).err;

    // A project file may begin with '{' and '[' too: an author of 123 or 91
    // characters. It still opens.
    for (const size_t length : { 123u, 91u }) {
        CScriptedUserInterface ui;
        CPagewellDoc doc(ui);
        doc.CreateRootPage();
        doc.m_props.m_strAuthor = std::string(length, '"');
        const std::string pwl = m_folder.File("brace.pwl");
        ASSERT_TRUE(doc.DoFileSaveAs(pwl));
        ASSERT_EQ(ReadWholeFile(pwl).front(), static_cast<char>(length));
        const CRun run = RunTool({ "outline", pwl });
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "page Index: Untitled\n");
    }
}

TEST_F(Cli, SettingsShowsAndChangesTheSiteSettings)
{
    const std::string pwl = m_folder.File("a.pwl");
    ASSERT_EQ(RunTool({ "import", Json("a.json", kSmallProject), pwl }).status, 0);
    const std::string before = ReadWholeFile(pwl);
    const CRun shown = RunTool({ "settings", pwl });
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out,
        "lang=\ndescription=\nbaseurl=\nmarkup=classic\nencoding=windows-1252\nfavicon=\nextension="
        "htm\npublish="
        "\ncachecontrol=\nmaxwidth=\nkeepmetadata=no\n");
    EXPECT_EQ(ReadWholeFile(pwl), before) << "showing does not save";

    // One refused assignment saves none of them.
    for (const char* bad : { "markup=fancy", "colour=red", "lang", "lang=English (UK)" }) {
        const CRun refused = RunTool({ "settings", pwl, "lang=de", bad });
        EXPECT_EQ(refused.status, 2) << bad;
        EXPECT_NE(refused.err.find("pagewell-cli: "), std::string::npos) << bad;
        EXPECT_EQ(ReadWholeFile(pwl), before) << bad;
    }

    const CRun changed
        = RunTool({ "settings", pwl, "lang=fr", "description=Caf\u00e9 \u20ac", "markup=modern" });
    EXPECT_EQ(changed.status, 0) << changed.err;
    EXPECT_EQ(changed.out,
        "lang=fr\ndescription=Caf\u00e9 "
        "\u20ac\nbaseurl=\nmarkup=modern\nencoding=windows-1252\nfavicon=\nextension=htm\npublish="
        "\ncachecontrol="
        "\nmaxwidth=\nkeepmetadata=no\n");
    EXPECT_NE(RunTool({ "export", pwl })
                  .out.find("\"spare\": \"pagewell-settings 1\\nlang=fr\\ndescription=Caf\u00e9 "
                            "\u20ac\\nmarkup=modern\\n\""),
        std::string::npos);
}

} // namespace
