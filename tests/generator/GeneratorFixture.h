#pragma once

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "generator/CGenerateDlg.h"
#include "generator/CGenerationRun.h"
#include "generator/CMacroContext.h"
#include "generator/COutputManifest.h"
#include "model/CDocProperties.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "platform/CFile.h"
#include "platform/CFileLocator.h"
#include "platform/CFileSystem.h"
#include "support/CScriptedUserInterface.h"
#include "support/TestFiles.h"

// Makes a folder the current directory while it lives.
class CCurrentDirectory {
public:
    explicit CCurrentDirectory(const std::string& path)
        : m_strOld(std::filesystem::current_path().string())
    {
        std::filesystem::current_path(path);
    }
    ~CCurrentDirectory()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_strOld, ignored);
    }
    CCurrentDirectory(const CCurrentDirectory&) = delete;
    CCurrentDirectory& operator=(const CCurrentDirectory&) = delete;

private:
    std::string m_strOld;
};

// A workspace in a temporary folder (the current directory while the test
// runs) with its own small templates, a site tree built by the test and a run
// over it. The destination is the folder "out" of the workspace.
class CGeneratorFixture : public ::testing::Test {
protected:
    CGeneratorFixture()
        : m_cwd(m_folder.Path())
    {
        m_settings.m_strDestination = m_folder.File("out");
        std::filesystem::create_directory(m_folder.File("out"));
    }

    HTREEITEM Add(HTREEITEM hParent, const CString& tag, uint32_t type = NODE_PAGE, const CString& title = "",
        const CString& text = "")
    {
        auto pNode = std::make_unique<CNode>(nullptr);
        pNode->m_nType = type;
        pNode->m_strTitle = title.empty() ? tag : title;
        pNode->m_strText = text;
        return m_tree.InsertItem(tag, std::move(pNode), hParent, ETreeInsert::Last);
    }
    static CNode& Node(HTREEITEM hItem) { return *hItem->GetNode(); }

    // Writes a file of the workspace, creating its folders.
    void Write(const std::string& path, const std::string& contents)
    {
        const std::filesystem::path full = m_folder.File(path);
        std::filesystem::create_directories(full.parent_path());
        WriteWholeFile(full.string(), contents);
    }
    // The three templates of the set "Default"; an empty text leaves one out.
    void WriteTemplates(
        const std::string& page, const std::string& paragraph = "", const std::string& link = "")
    {
        Write("templates/Default.hdr.txt", page);
        if (!paragraph.empty())
            Write("templates/Default.pgh.txt", paragraph);
        if (!link.empty())
            Write("templates/Default.lnk.txt", link);
    }
    std::string Read(const std::string& path) const { return ReadWholeFile(m_folder.File(path)); }
    bool Exists(const std::string& path) const { return std::filesystem::exists(m_folder.File(path)); }
    // The files of the destination, sorted, without the run's list of them.
    std::vector<std::string> OutNames() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.File("out"))) {
            if (entry.path().filename() != COutputManifest::kFileName)
                names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    CGenerationRun& Run()
    {
        if (!m_pRun) {
            m_pLocator = std::make_unique<CFileLocator>(Files(), m_strShareDir);
            m_pRun
                = std::make_unique<CGenerationRun>(m_tree, m_props, m_settings, m_ui, Files(), *m_pLocator);
        }
        return *m_pRun;
    }
    virtual CFileSystem& Files() { return CFileSystem::Real(); }

    // Expands one object with the page template text given.
    CString Expand(HTREEITEM hItem) { return Run().CreateNode(hItem)->m_strOutput; }
    CString ExpandWith(const std::string& pageTemplate)
    {
        WriteTemplates(pageTemplate);
        if (m_tree.GetRootItem() == nullptr)
            Add(nullptr, "index");
        return Expand(m_tree.GetRootItem());
    }
    const CString& Log() { return Run().GetLog().GetText(); }

    // The log a whole run showed at its end.
    CString ShownLog() const
    {
        CString log;
        for (const auto& [line, text] : m_ui.m_statusTexts) {
            if (line == EStatusLine::Log)
                log = text;
        }
        return log;
    }

    CTempFolder m_folder;
    CCurrentDirectory m_cwd;
    CSiteTree m_tree;
    CDocProperties m_props;
    CGenerateDlg m_settings;
    CScriptedUserInterface m_ui;
    std::string m_strShareDir; // no default workspace unless a test sets one
    std::unique_ptr<CFileLocator> m_pLocator;
    std::unique_ptr<CGenerationRun> m_pRun;
};
