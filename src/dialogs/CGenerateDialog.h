#pragma once

#include <functional>

#include <QDialog>
#include <QUrl>

#include "dialogs/IGenerationDisplay.h"
#include "platform/CString.h"

class CGenerateDlg;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// The "Generate HTML pages" window over the generation settings. "Generate"
// takes the destination and the lowercase option into the record and runs
// the generation, showing its progress and, at the end, its log; "Close"
// takes the values; Escape keeps those of the last Generate.
class CGenerateDialog : public QDialog, public IGenerationDisplay {
    Q_OBJECT
public:
    // Runs one generation with the settings record. The run reports its
    // progress through the program's user interface, which passes it on to
    // the open dialog (IGenerationDisplay::Active()).
    using Generator = std::function<void(CGenerateDlg& settings)>;

    CGenerateDialog(CGenerateDlg& record, Generator generator, QWidget* pParent = nullptr);
    ~CGenerateDialog() override;

    // The home page's file name in the destination ("index.htm"); once a run
    // has written it, "Open in Browser" opens it.
    void SetHomePageName(std::function<CString(const CGenerateDlg&)> homePage)
    {
        m_homePage = std::move(homePage);
    }
    // The home page a successful run wrote; empty before one.
    QUrl GetHomePageUrl() const { return m_homePageUrl; }

    void accept() override;

    // The generation display.
    void SetProgressRange(int lower, int upper) override;
    void SetProgressPos(int pos) override;
    void StepProgress() override;
    void SetStatusText(EStatusLine line, const CString& text) override;

    static constexpr const char* kIntroduction
        = "This action will create your actual HTML files from the information you have provided. Please "
          "use a dedicated destination directory. The HTML generator will create all the pages, and copy "
          "the images you have used into the destination directory.";

private:
    void OnGenerate();
    void OnBrowse();
    void SaveControls();
    // A missing destination is created, with its parents, when the user
    // agrees; false leaves the dialog as it is.
    bool EnsureDestination();
    void OfferHomePage();

    CGenerateDlg& m_record;
    Generator m_generator;
    IGenerationDisplay* m_pPreviousDisplay;

    QLineEdit* m_pDestination;
    QCheckBox* m_pLowercase;
    QCheckBox* m_pClean;
    QPlainTextEdit* m_pLog;
    QLabel* m_pCurrentFile;
    QLabel* m_pCurrentTag;
    QProgressBar* m_pProgress;
    QPushButton* m_pGenerate;
    QPushButton* m_pOpenInBrowser;
    std::function<CString(const CGenerateDlg&)> m_homePage;
    QUrl m_homePageUrl;
};
