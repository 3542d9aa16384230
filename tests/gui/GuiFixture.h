#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "app/CMainFrame.h"
#include "app/CPagewellApp.h"
#include "app/CRecentFileList.h"
#include "app/CommandIds.h"
#include "editors/CEditContents.h"
#include "editors/CEditName.h"
#include "model/CNode.h"
#include "model/CPagewellDoc.h"
#include "support/CScriptedUserInterface.h"
#include "tree/CPagewellView.h"

// The whole program over a scripted user interface and a private profile
// file in a temporary folder.
class CGuiFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        g_bWordWrap = true;
        g_bShowColors = true;
        m_pRecent = std::make_unique<CRecentFileList>(Path("pagewell.ini"), kRecentFileCount);
        m_pApp = std::make_unique<CPagewellApp>(m_ui, *m_pRecent);
        m_pApp->m_showAbout = [](QWidget*) {};
    }

    void TearDown() override
    {
        if (m_pApp != nullptr && m_pApp->GetMainFrame() != nullptr)
            m_pApp->GetMainFrame()->m_canClose = nullptr;
        m_pApp.reset();
    }

    std::string Path(const char* pszName) const
    {
        return m_dir.filePath(QString::fromLatin1(pszName)).toStdString();
    }

    // Starts the program (File New without a path) and shows its window.
    bool Start(const QString& path = {})
    {
        if (!m_pApp->InitInstance(path))
            return false;
        Frame().resize(900, 600);
        Frame().show();
        Frame().activateWindow();
        return QTest::qWaitForWindowActive(&Frame());
    }

    CPagewellDoc& Doc() const { return m_pApp->GetDocument(); }
    CMainFrame& Frame() const { return *m_pApp->GetMainFrame(); }
    CPagewellView& Tree() const { return *Frame().GetTreeView(); }
    CEditName& Title() const { return *Frame().GetTitleEditor(); }
    CEditContents& Body() const { return *Frame().GetBodyEditor(); }

    HTREEITEM AddItem(HTREEITEM hParent, const char* pszTag, uint32_t nType, const char* pszText = "")
    {
        auto pNode = std::make_unique<CNode>(nullptr);
        pNode->m_nType = nType;
        pNode->m_strText = pszText;
        pNode->m_strTitle = pszTag;
        return Doc().m_tree.InsertItem(pszTag, std::move(pNode), hParent, ETreeInsert::Last);
    }

    // Every item in pre-order, one dot a level.
    std::string Outline() const
    {
        std::string out;
        for (HTREEITEM h = Doc().m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h))
            out += std::string(static_cast<size_t>(CSiteTree::GetLevel(h)), '.') + h->GetLabel() + " ";
        return out;
    }

    HTREEITEM Find(const std::string& tag) const
    {
        for (HTREEITEM h = Doc().m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
            if (h->GetLabel() == tag)
                return h;
        }
        return nullptr;
    }

    static bool Focus(QWidget& widget)
    {
        widget.setFocus(Qt::MouseFocusReason);
        return QTest::qWaitFor([&] { return widget.hasFocus(); }, 2000);
    }

    bool IsEnabled(int nId) const { return Frame().GetRouter().Query(nId).m_bEnabled; }
    bool IsPressed(int nId) const { return Frame().GetAction(nId)->isChecked(); }
    // The nine format buttons, pressed or not, in a fixed order.
    std::string PressedButtons() const
    {
        std::string result;
        const char* const kNames[] = { "L", "C", "R", "H1", "H2", "H3", "H4", "N", "Hide" };
        int i = 0;
        for (int nId : { ID_ALIGN_LEFT, ID_ALIGN_CENTER, ID_ALIGN_RIGHT, ID_STYLE_H1, ID_STYLE_H2,
                 ID_STYLE_H3, ID_STYLE_H4, ID_STYLE_NORMAL, ID_STYLE_HIDE }) {
            if (IsPressed(nId))
                result += std::string(result.empty() ? "" : " ") + kNames[i];
            ++i;
        }
        return result;
    }

    QTemporaryDir m_dir;
    CScriptedUserInterface m_ui;
    std::unique_ptr<CRecentFileList> m_pRecent;
    std::unique_ptr<CPagewellApp> m_pApp;
};
