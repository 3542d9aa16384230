#include "app/CCommandTable.h"

#include <iterator>

#include "app/CommandIds.h"

namespace {

constexpr CCommandInfo kCommands[] = {
    { ID_FILE_NEW, "New", "Create a new document\nNew", ":/icons/new.svg" },
    { ID_FILE_OPEN, "Open", "Open an existing document\nOpen", ":/icons/open.svg" },
    { ID_FILE_SAVE, "Save", "Save the active document\nSave", ":/icons/save.svg" },
    { ID_FILE_SAVE_AS, "Save As", "Save the active document with a new name\nSave As", nullptr },
    { ID_FILE_PRINT, "Print", "Print the active document\nPrint", nullptr },
    { ID_SITE_SETTINGS, "Site Settings", "Language, description, address, markup and encoding of the site",
        nullptr },
    { ID_FILE_GENERATE, "Generate", "Generate your HTML pages", nullptr },
    { ID_FILE_PUBLISH, "Publish", "Send what changed in the site to where it is hosted\nPublish", nullptr },
    { ID_TOOLS_CHECK_SITE, "Check Site", "Check the site for what would come out wrong\nCheck Site",
        nullptr },
    { ID_FILE_MRU_FILE1, "Recent File", "Open this document", nullptr },
    { ID_FILE_MRU_FILE1 + 1, "Recent File", "Open this document", nullptr },
    { ID_FILE_MRU_FILE1 + 2, "Recent File", "Open this document", nullptr },
    { ID_FILE_MRU_FILE1 + 3, "Recent File", "Open this document", nullptr },
    { ID_APP_EXIT, "Exit", "Quit the application; prompts to save documents\nExit", nullptr },
    { ID_EDIT_UNDO, "Undo", "Undo the last action\nUndo", nullptr },
    { ID_EDIT_REDO, "Redo", "Redo the previously undone action\nRedo", nullptr },
    { ID_EDIT_CUT, "Cut", "Cut the selection and put it on the Clipboard\nCut", ":/icons/cut.svg" },
    { ID_EDIT_COPY, "Copy", "Copy the selection and put it on the Clipboard\nCopy", ":/icons/copy.svg" },
    { ID_EDIT_PASTE, "Paste", "Insert Clipboard contents\nPaste", ":/icons/paste.svg" },
    { ID_EDIT_FIND, "Find", "Find a text in the tags, titles and texts of all objects\nFind", nullptr },
    { ID_EDIT_REPLACE, "Replace", "Replace a text in the current object or in all objects\nReplace",
        nullptr },
    { ID_EDIT_REPEAT, "Find Next", "Go to the next match\nFind Next", nullptr },
    { ID_EDIT_FIND_PREVIOUS, "Find Previous", "Go to the previous match\nFind Previous", nullptr },
    { ID_VIEW_TOOLBAR, "Toolbar", "Show or hide the toolbar\nToggle ToolBar", nullptr },
    { ID_VIEW_STATUS_BAR, "Status Bar", "Show or hide the status bar\nToggle StatusBar", nullptr },
    { ID_VIEW_PREVIEW, "Preview", "Show or hide the preview of the current page\nToggle Preview", nullptr },
    { ID_VIEW_WORDWRAP, "WordWrap", "Enable/Disable WordWrap in edit-mode", nullptr },
    { ID_VIEW_COLORS, "Colors", "Show the selected colors on text and background", nullptr },
    { ID_OBJECT_CONVERT, "Convert", "Convert a object to an other type", nullptr },
    { ID_INSERT_PAGE, "Insert Page", "Insert a new page, linked to the current item",
        ":/icons/insert-page.svg" },
    { ID_INSERT_PARAGRAPH, "Insert Paragraph", "Insert a new section on the current page",
        ":/icons/insert-paragraph.svg" },
    { ID_INSERT_LINK, "Insert Link", "Insert a new link to the Internet", ":/icons/insert-link.svg" },
    { ID_HTML_PARAGRAPH, "Paragraph", "Insert a paragraph tag", nullptr },
    { ID_HTML_BOLD, "Bold text", "Insert the Bold text HTML tag", nullptr },
    { ID_HTML_ITALIC, "Italic Text", "Insert the Italic text HTML tag", nullptr },
    { ID_HTML_TT, "Typewriter font", "Insert the typewriter font HTML tag", nullptr },
    { ID_HTML_LINK, "Insert Link", "Insert a link to another resource in the text", nullptr },
    { ID_HTML_IMAGE, "Insert Image", "Insert an image into the text at the current position", nullptr },
    { ID_HTML_UL, "Insert unnumbered List", "Insert an unnumbered HTML list in the text", nullptr },
    { ID_HTML_OL, "Insert numbered List", "Insert an numbered HTML list in the text", nullptr },
    { ID_HTML_TOC, "Insert Table Of Contents macro", nullptr, nullptr },
    { ID_ALIGN_LEFT, "Left alignment", "Left alignment", ":/icons/align-left.svg" },
    { ID_ALIGN_CENTER, "Center alignment", "Center aligmnent", ":/icons/align-center.svg" },
    { ID_ALIGN_RIGHT, "Right alignment", "Right alignment", ":/icons/align-right.svg" },
    { ID_STYLE_H1, "Heading 1", "H1 - Large, bold fomt for page headline", ":/icons/h1.svg" },
    { ID_STYLE_H2, "Heading 2", "H2, Large, bold font, used for seaction headlines", ":/icons/h2.svg" },
    { ID_STYLE_H3, "Heading 3",
        "H3 - Smaller but still large, bold font. Used for section headlines and paragraphs",
        ":/icons/h3.svg" },
    { ID_STYLE_H4, "Heading 4", "H4 - Normal sized bold font", ":/icons/h4.svg" },
    { ID_STYLE_NORMAL, "Normal text", "Normal text", ":/icons/normal.svg" },
    { ID_STYLE_HIDE, "Hide the text", "Hide the text. Use when you only want to show an image.",
        ":/icons/hide.svg" },
    { ID_DOC_PROPERTIES, "Document default properties", "Document default properties",
        ":/icons/doc-properties.svg" },
    { ID_OBJECT_PROPERTIES, "Properties of the current object", "Properties of the current object",
        ":/icons/object-properties.svg" },
    { ID_APP_ABOUT, "About Pagewell", "Display program information, version number and copyright\nAbout",
        ":/icons/about.svg" },
    { ID_ORIGIN, "Origin of this program", "Origin of this program", ":/icons/origin.svg" },
    { ID_OBJECT_DUPLICATE, "Duplicate",
        "Copy the selected object and everything below it beside itself\nDuplicate", nullptr },
    { ID_OBJECT_DELETE, "Delete",
        "Delete the selected object and everything below it (the Delete key)\nDelete", nullptr },
    { ID_HELP_USER_GUIDE, "User Guide", "Open the user guide in the web browser\nUser Guide", nullptr },
    { ID_NEXT_PANE, "Next Pane", "Switch to the next window pane\nNext Pane", nullptr },
    { ID_PREV_PANE, "Previous Pane", "Switch back to the previous window pane\nPrevious Pane", nullptr },
};

constexpr int kToolbar[] = {
    ID_FILE_NEW,
    ID_FILE_OPEN,
    ID_FILE_SAVE,
    0, //
    ID_INSERT_PAGE,
    ID_INSERT_PARAGRAPH,
    ID_INSERT_LINK,
    0, //
    ID_EDIT_CUT,
    ID_EDIT_COPY,
    ID_EDIT_PASTE,
    0, //
    ID_ALIGN_LEFT,
    ID_ALIGN_CENTER,
    ID_ALIGN_RIGHT,
    0, //
    ID_STYLE_H1,
    ID_STYLE_H2,
    ID_STYLE_H3,
    ID_STYLE_H4,
    ID_STYLE_NORMAL,
    ID_STYLE_HIDE,
    0, //
    ID_DOC_PROPERTIES,
    ID_OBJECT_PROPERTIES,
    0, //
    ID_APP_ABOUT,
    ID_ORIGIN,
};

} // namespace

const CCommandInfo* CCommandTable::Find(int nId)
{
    for (const CCommandInfo& info : kCommands) {
        if (info.nId == nId)
            return &info;
    }
    return nullptr;
}

QString CCommandTable::Prompt(int nId)
{
    const CCommandInfo* pInfo = Find(nId);
    if (pInfo == nullptr || pInfo->pszPrompt == nullptr)
        return {};
    return QString::fromLatin1(pInfo->pszPrompt).section(QLatin1Char('\n'), 0, 0);
}

QString CCommandTable::ToolTip(int nId)
{
    const CCommandInfo* pInfo = Find(nId);
    if (pInfo == nullptr || pInfo->pszPrompt == nullptr)
        return {};
    const QString text = QString::fromLatin1(pInfo->pszPrompt);
    const qsizetype at = text.indexOf(QLatin1Char('\n'));
    return at < 0 ? QString() : text.mid(at + 1);
}

const int* CCommandTable::ToolbarButtons(int& nCount)
{
    nCount = static_cast<int>(std::size(kToolbar));
    return kToolbar;
}
