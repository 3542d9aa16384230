// The exchange rules of the record dialogs and the listings of the resource
// folders, without windows.

#include <QComboBox>
#include <QtTest>

#include "DialogTestSupport.h"
#include "app/QtText.h"
#include "dialogs/DialogControls.h"
#include "dialogs/DialogExchange.h"

Q_DECLARE_METATYPE(std::vector<CString>)

namespace {

std::vector<CString> Split(const QString& joined)
{
    std::vector<CString> entries;
    if (joined.isNull())
        return entries;
    for (const QString& part : joined.split('|'))
        entries.push_back(FromQString(part));
    return entries;
}

QString Join(const std::vector<CString>& entries)
{
    QStringList parts;
    for (const CString& entry : entries)
        parts << ToQString(entry);
    return parts.join('|');
}

} // namespace

class CDialogExchangeTest : public QObject {
    Q_OBJECT
private slots:
    void FindsComboEntry_data()
    {
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("expected"); // -1: the value goes into the edit field

        QTest::newRow("exact") << "a.gif|home.gif|up.gif"
                               << "home.gif" << 1;
        QTest::newRow("case is ignored") << "Back.gif|home.gif"
                                         << "BACK.GIF" << 0;
        QTest::newRow("accented letters too")
            << QString::fromUtf8("Été.gif|x.gif") << QString::fromUtf8("été.GIF") << 0;
        QTest::newRow("prefix") << "Back.gif|home.gif"
                                << "ho" << 1;
        QTest::newRow("exact beats an earlier prefix") << "BlueDark|Blue|"
                                                       << "blue" << 1;
        QTest::newRow("first of several prefixes") << "Blue2|Blue3|"
                                                   << "Blue" << 0;
        QTest::newRow("no entry begins with it") << "a.gif|b.gif"
                                                 << "mine.gif" << -1;
        QTest::newRow("longer than every entry") << "home"
                                                 << "home.gif" << -1;
        QTest::newRow("empty value selects nothing") << "Default|Blue|"
                                                     << "" << -1;
        QTest::newRow("empty list") << QString() << "x" << -1;
    }
    void FindsComboEntry()
    {
        QFETCH(QString, entries);
        QFETCH(QString, value);
        QFETCH(int, expected);
        const std::optional<size_t> found = FindComboEntry(Split(entries), FromQString(value));
        QCOMPARE(found ? static_cast<int>(*found) : -1, expected);
    }

    void ParsesIntegers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");

        QTest::newRow("plain") << "14" << true << 14;
        QTest::newRow("blanks around") << " \t14  " << true << 14;
        QTest::newRow("negative") << "-3" << true << -3;
        QTest::newRow("plus sign") << "+7" << true << 7;
        QTest::newRow("largest") << "2147483647" << true << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << true << int(-2147483647 - 1);
        QTest::newRow("too large") << "2147483648" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("sign alone") << "-" << false << 0;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("trailing letters") << "12x" << false << 0;
        QTest::newRow("two numbers") << "1 2" << false << 0;
    }
    void ParsesIntegers()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const std::optional<int32_t> parsed = ParseDialogInteger(FromQString(text));
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

    void NamesTheIntegerMessages()
    {
        QCOMPARE(ToQString(IntegerMessage()), QString("Please enter an integer."));
        QCOMPARE(ToQString(IntegerRangeMessage(0, 30)), QString("Please enter an integer between 0 and 30."));
    }

    void FillsComboLists_data()
    {
        QTest::addColumn<bool>("sorted");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("found");
        QTest::addColumn<bool>("clear");
        QTest::addColumn<bool>("strip");
        QTest::addColumn<QString>("after");

        QTest::newRow("sorted without regard to case")
            << true << QString() << "b.gif|A.gif|c.gif" << true << false << "A.gif|b.gif|c.gif";
        QTest::newRow("second pattern adds to the first") << true << "a.gif|c.gif"
                                                          << "B.jpg" << false << false << "a.gif|B.jpg|c.gif";
        QTest::newRow("clear empties first") << true << "old.gif"
                                             << "new.gif" << true << false << "new.gif";
        QTest::newRow("nothing found still clears") << true << "old.gif" << QString() << true << false << "";
        QTest::newRow("unsorted appends") << false << "z"
                                          << "b|a" << false << false << "z|b|a";
        QTest::newRow("strip cuts at the first dot")
            << false << QString() << "Default.hdr.txt|my.site.hdr.txt" << true << true << "Default|my";
        QTest::newRow("hidden names skipped")
            << true << QString() << ".x.gif|y.gif" << true << false << "y.gif";
    }
    void FillsComboLists()
    {
        QFETCH(bool, sorted);
        QFETCH(QString, before);
        QFETCH(QString, found);
        QFETCH(bool, clear);
        QFETCH(bool, strip);
        QFETCH(QString, after);
        CComboList list(sorted);
        for (const CString& entry : Split(before))
            list.AddString(entry);
        FillComboList(list, Split(found), clear, strip);
        QCOMPARE(Join(list.Entries()), after);
    }

    void HiddenFilesNeverReachTheCombo()
    {
        CWorkspace workspace;
        workspace.AddFile("images/.h.gif");
        workspace.AddFile("images/y.gif");
        QComboBox* pCombo = MakeDropDownCombo("c", "c", true);
        FillComboFromFolder(pCombo, "images", "*.gif", true, false);
        QCOMPARE(pCombo->count(), 1);
        QCOMPARE(pCombo->itemText(0), QString("y.gif"));
        delete pCombo;
    }

    void MissingFolderUsesTheInstalledOne()
    {
        CWorkspace workspace; // no "images" here
        const std::vector<CString> names = ListResourceFiles("images", "*.gif");
        const QDir bundled(QStringLiteral(PAGEWELL_SOURCE_DIR "/share/pagewell/images"));
        QStringList expected = bundled.entryList({ "*.gif" }, QDir::Files);
        expected.sort();
        QVERIFY(!expected.isEmpty());
        QCOMPARE(Join(names), expected.join('|'));
    }
};

QTEST_MAIN(CDialogExchangeTest)
#include "DialogExchangeTest.moc"
