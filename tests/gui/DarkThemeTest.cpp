// The window in a light and a dark theme: every colour of the HTML
// highlighting, as the editor draws it, and the ink of the format buttons
// keep their contrast against the background they are drawn on.
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolBar>

#include "GuiFixture.h"
#include "editors/CHtmlHighlighter.h"

namespace {

QPalette DarkPalette()
{
    QPalette dark;
    const QColor window(0x35, 0x35, 0x35);
    const QColor base(0x23, 0x23, 0x23);
    const QColor text(0xE6, 0xE6, 0xE6);
    for (const auto& [role, color] : std::initializer_list<std::pair<QPalette::ColorRole, QColor>> {
             { QPalette::Window, window }, { QPalette::WindowText, text }, { QPalette::Base, base },
             { QPalette::AlternateBase, window }, { QPalette::Text, text }, { QPalette::Button, window },
             { QPalette::ButtonText, text }, { QPalette::Highlight, QColor(0x2A, 0x82, 0xDA) },
             { QPalette::HighlightedText, Qt::black }, { QPalette::ToolTipBase, window },
             { QPalette::ToolTipText, text }, { QPalette::Link, QColor(0x6A, 0xB0, 0xF3) } })
        dark.setColor(role, color);
    return dark;
}

class CThemes : public CGuiFixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        m_oldPalette = QApplication::palette();
        m_pStyle.reset(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(GetParam() ? DarkPalette() : m_pStyle->standardPalette());
        CGuiFixture::SetUp();
    }
    void TearDown() override
    {
        CGuiFixture::TearDown();
        QApplication::setPalette(m_oldPalette);
    }

    QPalette m_oldPalette;
    std::unique_ptr<QStyle> m_pStyle;
};

// The highlighting's colours against the editor's background as drawn.
TEST_P(CThemes, HighlightingKeepsItsContrast)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Focus(Body())); // the page's own colours show only without the focus
    Body().setPlainText(QStringLiteral(
        "<p class=\"note\" id=x>Caf&eacute; &#233;</p> [$i] <!-- later --> <b>bold</b>\n[TITLE] text"));
    const QImage drawn = Body().viewport()->grab().toImage();
    const QColor background = drawn.pixelColor(drawn.width() - 4, drawn.height() - 4);
    const bool bDark = CHtmlHighlighter::Contrast(background, Qt::black)
        < CHtmlHighlighter::Contrast(background, Qt::white);
    EXPECT_EQ(bDark, GetParam()) << background.name().toStdString();
    const QColor text = Body().palette().color(QPalette::Text);
    int nFormats = 0;
    for (QTextBlock block = Body().document()->begin(); block.isValid(); block = block.next()) {
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            const QColor color = range.format.foreground().color();
            EXPECT_GE(CHtmlHighlighter::Contrast(color, background),
                std::min(4.5, CHtmlHighlighter::Contrast(text, background)) - 0.01)
                << color.name().toStdString() << " on " << background.name().toStdString();
            ++nFormats;
        }
    }
    EXPECT_GE(nFormats, 8);
}

// The format buttons' ink against the toolbar: the strongest pixel of each
// icon stands out as text does.
TEST_P(CThemes, FormatButtonsStayVisible)
{
    ASSERT_TRUE(Start());
    const QColor background = Frame().GetToolBar()->palette().color(QPalette::Button);
    for (const int nId : { ID_ALIGN_LEFT, ID_ALIGN_CENTER, ID_ALIGN_RIGHT, ID_STYLE_H1, ID_STYLE_H2,
             ID_STYLE_H3, ID_STYLE_H4, ID_STYLE_NORMAL, ID_STYLE_HIDE }) {
        const QImage icon = Frame().GetAction(nId)->icon().pixmap(QSize(32, 32)).toImage();
        double best = 1.0;
        for (int y = 0; y < icon.height(); ++y) {
            for (int x = 0; x < icon.width(); ++x) {
                const QColor pixel = icon.pixelColor(x, y);
                if (pixel.alpha() > 200)
                    best = std::max(best, CHtmlHighlighter::Contrast(pixel, background));
            }
        }
        EXPECT_GE(best, 4.5) << nId << " on " << background.name().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(LightAndDark, CThemes, ::testing::Bool(),
    [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Dark" : "Light"; });

} // namespace
