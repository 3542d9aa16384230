// Pictures dropped from a file manager onto the body editor.
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "GuiFixture.h"

namespace {

class CPictureDrops : public CGuiFixture {
protected:
    void SetUp() override
    {
        CGuiFixture::SetUp();
        ASSERT_TRUE(m_workspace.isValid() && m_outside.isValid());
        ASSERT_TRUE(QDir(m_workspace.path()).mkdir(QStringLiteral("images")));
        m_strPrevious = QDir::currentPath();
        QDir::setCurrent(m_workspace.path());
    }
    void TearDown() override
    {
        QDir::setCurrent(m_strPrevious);
        CGuiFixture::TearDown();
    }

    QString Outside(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_outside.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    QByteArray InImages(const QString& name) const
    {
        QFile file(m_workspace.filePath(QStringLiteral("images/") + name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QStringList Pictures() const
    {
        return QDir(m_workspace.filePath(QStringLiteral("images"))).entryList(QDir::Files, QDir::Name);
    }

    // Drags files over the body text and drops them at a text position, as
    // a file manager does; whether the editor took the drop.
    bool Drop(const QStringList& files, int nPosition)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files)
            urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        QTextCursor cursor = Body().textCursor();
        cursor.setPosition(nPosition);
        const QPointF at = Body().cursorRect(cursor).center() + QPointF(1, 0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Body().viewport(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Body().viewport(), &drop);
        return drop.isAccepted();
    }

    QTemporaryDir m_workspace;
    QTemporaryDir m_outside;
    QString m_strPrevious;
};

TEST_F(CPictureDrops, DroppedPicturesAreCopiedAndNamedWithTheirAltTextSelected)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Focus(Body()));
    Body().setPlainText(QStringLiteral("Hello world"));
    const QString beach = Outside(QStringLiteral("Beach Day.JPG"), "beach");
    const QString kids = Outside(QStringLiteral("kids_at-play.png"), "kids");

    ASSERT_TRUE(Drop({ beach, kids }, 5));
    const QString inserted = QStringLiteral("Hello<img src=\"beach-day.jpg\" alt=\"Beach Day\">\n<img "
                                            "src=\"kids_at-play.png\" alt=\"kids at play\"> world");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Body().toPlainText() == inserted; }, 3000))
        << Body().toPlainText().toStdString();
    EXPECT_EQ(Body().textCursor().selectedText(), QStringLiteral("kids at play"));
    EXPECT_EQ(InImages(QStringLiteral("beach-day.jpg")), QByteArray("beach"));
    EXPECT_EQ(InImages(QStringLiteral("kids_at-play.png")), QByteArray("kids"));

    // The whole drop is one step back.
    Frame().UpdateCommandUI();
    EXPECT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("Hello world"));

    // The same picture again: no copy, no question; typing replaces the alt text.
    ASSERT_TRUE(Drop({ beach }, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Body().textCursor().hasSelection(); }, 3000));
    QTest::keyClicks(&Body(), "Sea");
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("<img src=\"beach-day.jpg\" alt=\"Sea\">Hello world"));
    EXPECT_EQ(Pictures(), QStringList({ "beach-day.jpg", "kids_at-play.png" }));
}

TEST_F(CPictureDrops, OtherDropsAreTheEditorsOwn)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Focus(Body()));
    Body().setPlainText(QStringLiteral("text"));
    // A file that is no picture: its address goes in as text, as before.
    const QString notes = Outside(QStringLiteral("notes.txt"), "notes");
    EXPECT_TRUE(Drop({ notes }, 2));
    EXPECT_EQ(Body().toPlainText(), QStringLiteral("te%1xt").arg(QUrl::fromLocalFile(notes).toString()));
    EXPECT_TRUE(Pictures().isEmpty());
}

} // namespace
