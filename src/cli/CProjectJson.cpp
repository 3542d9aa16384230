#include "cli/CProjectJson.h"

#include <cstdio>
#include <memory>
#include <set>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/CPagewellDoc.h"
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

class CJsonReader {
public:
    CJsonReader(const Json& in, std::string path)
        : m_in(in)
        , m_strPath(std::move(path))
    {
        if (!m_in.is_object())
            Fail(m_strPath, "an object");
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
            value = static_cast<T>(ReadInteger(*p, Name(key)));
    }
    void Stamp(const char* key, int32_t& value)
    {
        if (const Json* p = Find(key))
            value = static_cast<int32_t>(ReadInteger(*p, Name(key)));
    }
    void Color(const char* key, COLORREF& value)
    {
        if (const Json* p = Find(key))
            value = ReadColor(*p, Name(key));
    }
    void Colors(const char* key, std::array<COLORREF, 16>& values)
    {
        const Json* p = Find(key);
        if (p == nullptr)
            return;
        if (!p->is_array() || p->size() != values.size())
            Fail(Name(key), "an array of 16 colours");
        for (size_t i = 0; i < values.size(); ++i)
            values[i] = ReadColor((*p)[i], Name(key) + "[" + std::to_string(i) + "]");
    }

    const Json* Find(const char* key)
    {
        m_seen.insert(key);
        const auto it = m_in.find(key);
        return it == m_in.end() ? nullptr : &*it;
    }
    std::string Name(const std::string& key) const { return m_strPath.empty() ? key : m_strPath + "." + key; }

    // Every key of the object must be one the form knows.
    void RejectUnknownKeys() const
    {
        for (const auto& item : m_in.items()) {
            if (m_seen.count(item.key()) == 0)
                throw CJsonFormatError("unknown key " + Name(item.key()));
        }
    }

    [[noreturn]] static void Fail(const std::string& name, const char* expected)
    {
        throw CJsonFormatError((name.empty() ? std::string("the document") : name) + " must be " + expected);
    }

private:
    static uint32_t ReadInteger(const Json& value, const std::string& name)
    {
        // A DWORD as stored; a negative number is taken as its 32-bit pattern.
        if (value.is_number_unsigned() && value.get<uint64_t>() <= 0xFFFFFFFFu)
            return static_cast<uint32_t>(value.get<uint64_t>());
        if (value.is_number_integer() && value.get<int64_t>() >= INT32_MIN && value.get<int64_t>() <= 0)
            return static_cast<uint32_t>(static_cast<int32_t>(value.get<int64_t>()));
        Fail(name, "an integer from -2147483648 to 4294967295");
    }
    static COLORREF ReadColor(const Json& value, const std::string& name)
    {
        COLORREF color = 0;
        if (!value.is_string() || !ParseColor(value.get_ref<const std::string&>(), color))
            Fail(name, "a colour \"#RRGGBB\" or \"#XXRRGGBB\"");
        return color;
    }

    const Json& m_in;
    std::string m_strPath;
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

Json TreeToJson(const CSiteTree& tree)
{
    Json top = Json::array();
    // Iterative, with the path of open "children" arrays, so a deep tree does
    // not recurse here.
    std::vector<Json*> open { &top };
    for (HTREEITEM h = tree.GetRootItem(); h != nullptr;) {
        Json& added = open.back()->emplace_back(NodeToJson(h));
        if (h->GetFirstChild() != nullptr) {
            open.push_back(&added["children"]);
            h = h->GetFirstChild();
            continue;
        }
        while (h != nullptr && h->GetNextSibling() == nullptr) {
            h = h->GetParent();
            if (h != nullptr)
                open.pop_back();
        }
        if (h != nullptr)
            h = h->GetNextSibling();
    }
    return top;
}

void ReadNodes(const Json& array, const std::string& path, CPagewellDoc& doc, HTREEITEM hParent)
{
    struct CPending {
        const Json* pArray;
        std::string strPath;
        HTREEITEM hParent;
    };
    std::vector<CPending> pending { { &array, path, hParent } };
    while (!pending.empty()) {
        const CPending next = pending.back();
        pending.pop_back();
        if (!next.pArray->is_array())
            CJsonReader::Fail(next.strPath, "an array");
        for (size_t i = 0; i < next.pArray->size(); ++i) {
            const std::string name = next.strPath + "[" + std::to_string(i) + "]";
            CJsonReader reader((*next.pArray)[i], name);
            auto pNode = std::make_unique<CNode>(nullptr);
            CString tag;
            VisitNode(tag, *pNode, reader);
            if (const Json* pInfo = reader.Find("info")) {
                CJsonReader infoReader(*pInfo, reader.Name("info"));
                VisitInfo(pNode->m_info, infoReader);
                infoReader.RejectUnknownKeys();
            }
            const Json* pChildren = reader.Find("children");
            reader.RejectUnknownKeys();
            HTREEITEM hItem = doc.m_tree.InsertItem(tag, std::move(pNode), next.hParent, ETreeInsert::Last);
            if (pChildren != nullptr)
                pending.push_back({ pChildren, reader.Name("children"), hItem });
        }
    }
}

} // namespace

Json CProjectJson::ToJson(const CPagewellDoc& doc)
{
    Json out = Json::object();
    Json props = Json::object();
    CJsonWriter writer(props);
    VisitProperties(const_cast<CDocProperties&>(doc.m_props), writer);
    out["properties"] = std::move(props);
    out["tree"] = TreeToJson(doc.m_tree);
    out["generate"] = { { "destination", CCodePage::ToUtf8(doc.m_dlgGenerate.m_strDestination) },
        { "spare", CCodePage::ToUtf8(doc.m_dlgGenerate.m_strSpare) } };
    return out;
}

void CProjectJson::FromJson(const Json& json, CPagewellDoc& doc)
{
    CJsonReader top(json, "");
    if (const Json* pProps = top.Find("properties")) {
        CJsonReader reader(*pProps, "properties");
        VisitProperties(doc.m_props, reader);
        reader.RejectUnknownKeys();
    }
    if (const Json* pGenerate = top.Find("generate")) {
        CJsonReader reader(*pGenerate, "generate");
        reader.String("destination", doc.m_dlgGenerate.m_strDestination);
        reader.String("spare", doc.m_dlgGenerate.m_strSpare);
        reader.RejectUnknownKeys();
    }
    doc.m_tree.DeleteAllItems();
    if (const Json* pTree = top.Find("tree"))
        ReadNodes(*pTree, "tree", doc, nullptr);
    top.RejectUnknownKeys();
}
