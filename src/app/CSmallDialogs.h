#pragma once

#include <QDialog>

class QLabel;

// "About Pagewell": the application icon, the product and version, and a
// one-line notice.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kProduct = "Pagewell";
    static constexpr const char* kVersion = "0.3b";
    static constexpr const char* kNotice = "Builds small static web sites from an outline.";

    explicit CAboutDlg(QWidget* pParent = nullptr);

    QLabel* VersionLabel() const { return m_pVersion; }
    QLabel* NoticeLabel() const { return m_pNotice; }

private:
    QLabel* m_pVersion;
    QLabel* m_pNotice;
};

// "Origin of this program": a picture of 300 x 300 pixels and OK.
class COriginDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPictureSize = 300;

    explicit COriginDlg(QWidget* pParent = nullptr);

    QLabel* Picture() const { return m_pPicture; }

private:
    QLabel* m_pPicture;
};
