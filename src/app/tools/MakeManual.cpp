// Makes the installed user guide: the user sections of the README (from
// "Using the desktop program" up to "For developers") as one HTML page.
// Usage: pagewell-make-manual README.md OUT.html
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>

namespace {

constexpr const char* kFirst = "\n## Using the desktop program";
constexpr const char* kEnd = "\n## For developers";

QString UserSections(const QString& readme)
{
    const qsizetype from = readme.indexOf(QLatin1String(kFirst));
    const qsizetype to = readme.indexOf(QLatin1String(kEnd));
    if (from < 0 || to < from)
        return {};
    QString text = QStringLiteral("# Pagewell User Guide\n") + readme.mid(from, to - from);
    // The pictures are installed beside the page.
    text.replace(QLatin1String("](docs/"), QLatin1String("]("));
    return text;
}

} // namespace

int main(int argc, char* argv[])
{
    // Laying out text needs fonts, not a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: pagewell-make-manual README.md OUT.html\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "pagewell-make-manual: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString markdown = UserSections(QString::fromUtf8(in.readAll()));
    if (markdown.isEmpty()) {
        std::fprintf(stderr, "pagewell-make-manual: %s has no user sections\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    document.setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("Pagewell User Guide"));
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(document.toHtml().toUtf8()) < 0) {
        std::fprintf(stderr, "pagewell-make-manual: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
