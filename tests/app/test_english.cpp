// The console in English: every source text has its English, the language is
// chosen as the operator expects, and an English console shows no German.
#include "app/app_windows.h"
#include "app/language.h"
#include "app/tform1.h"
#include "settings/extension_settings.h"
#include "support/program_dir_fixture.h"
#include "support/window_test_main.h"
#include "toolkit/message_sink.h"
#include "toolkit/translated.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {

struct Entry {
    QString translation;
    bool finished = false;
};
using Catalogue = QMap<QPair<QString, QString>, Entry>; // (context, source)

Catalogue readTs(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Catalogue entries;
    QXmlStreamReader xml(&file);
    QString context, source;
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            const bool finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            entries[{context, source}] = {xml.readElementText(), finished};
        }
    }
    return entries;
}

// Answers No and keeps each box's text as the operator reads it.
class ShownBoxes : public toolkit::msg::MessageSink {
public:
    ShownBoxes() { toolkit::msg::setSink(this); }
    ~ShownBoxes() override { toolkit::msg::setSink(nullptr); }
    toolkit::msg::Answer show(toolkit::msg::Kind, toolkit::msg::Buttons, const platform::UiText &text) override
    {
        texts << toolkit::translated(text);
        return toolkit::msg::Answer::No;
    }
    QStringList texts;
};

// Everything a widget shows or tells a screen reader.
QStringList shownTexts(const QWidget &widget)
{
    QStringList texts;
    const QMetaObject &meta = *widget.metaObject();
    for (int i = 0; i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        const QString name = QLatin1String(property.name());
        if (property.typeId() == QMetaType::QString && name != QLatin1String("objectName")
            && name != QLatin1String("styleSheet"))
            texts << property.read(&widget).toString();
    }
    if (const auto *box = qobject_cast<const QComboBox *>(&widget))
        for (int item = 0; item < box->count(); ++item)
            texts << box->itemText(item);
    if (const auto *header = qobject_cast<const QHeaderView *>(&widget))
        for (int section = 0; section < header->count(); ++section)
            texts << header->model()->headerData(section, header->orientation()).toString();
    for (const QAction *action : widget.actions())
        texts << action->text() << action->toolTip();
    return texts;
}

} // namespace

class TestEnglish : public QObject {
    Q_OBJECT

private slots:
    void everySourceTextHasItsEnglish();
    void languageToRun_data();
    void languageToRun();
    void languageMenuKeepsTheChoiceForTheNextStart();
    // Last: English stays installed for the rest of the process.
    void englishConsoleShowsNoGermanWords();
};

// lupdate's view of the code now against the committed translation: nothing
// missing, unfinished or left over.
void TestEnglish::everySourceTextHasItsEnglish()
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("fresh.ts"));
    QProcess lupdate;
    lupdate.start(QStringLiteral(VELMORA_LUPDATE),
                  QString::fromUtf8(VELMORA_LUPDATE_OPTIONS).split(QLatin1Char('|'))
                      << QStringLiteral(VELMORA_SOURCE_DIR "/src") << QStringLiteral("-ts") << fresh);
    QVERIFY(lupdate.waitForFinished(60000));
    QCOMPARE(lupdate.exitCode(), 0);
    const Catalogue code = readTs(fresh);
    const Catalogue committed = readTs(QStringLiteral(VELMORA_TRANSLATIONS));
    QVERIFY(code.size() > 200);
    for (auto text = code.cbegin(); text != code.cend(); ++text) {
        const QString where = text.key().first + QLatin1String(": ") + text.key().second;
        QVERIFY2(committed.contains(text.key()), qPrintable(QLatin1String("not in velmora_en.ts: ") + where));
        const Entry &english = committed[text.key()];
        QVERIFY2(english.finished && !english.translation.isEmpty(), qPrintable(QLatin1String("no English: ") + where));
    }
    for (auto text = committed.cbegin(); text != committed.cend(); ++text)
        QVERIFY2(code.contains(text.key()), qPrintable(QLatin1String("no longer in the code: ") + text.key().second));
}

void TestEnglish::languageToRun_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<app::Language>("expected");
    QTest::newRow("nothing chosen") << QString() << QStringList{} << app::Language::German;
    QTest::newRow("English chosen") << "en" << QStringList{} << app::Language::English;
    QTest::newRow("a broken choice") << "fr" << QStringList{} << app::Language::German;
    QTest::newRow("--lang en") << QString() << QStringList{"--lang", "en"} << app::Language::English;
    QTest::newRow("--lang=de over English") << "en" << QStringList{"--lang=de"} << app::Language::German;
    QTest::newRow("--lang xx") << "en" << QStringList{"--lang", "xx"} << app::Language::German;
    QTest::newRow("--lang without a code") << "en" << QStringList{"--lang"} << app::Language::German;
}

void TestEnglish::languageToRun()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, arguments);
    QFETCH(app::Language, expected);
    ProgramDirFixture dir;
    const auto files = settings::ProgramLocation::ofProgramDirectory(dir.path());
    if (!stored.isEmpty())
        settings::ExtensionSettings(files).setText(QStringLiteral("console/language"), stored);
    QCOMPARE(app::languageToRun(QStringList{"velmora"} + arguments, files), expected);
}

void TestEnglish::languageMenuKeepsTheChoiceForTheNextStart()
{
    ProgramDirFixture dir;
    ShownBoxes boxes;
    app::AppWindows windows = app::createAppWindows(dir.path());
    boxes.texts.clear();
    auto *german = windows.form1->findChild<QAction *>(QStringLiteral("Deutsch1"));
    auto *english = windows.form1->findChild<QAction *>(QStringLiteral("English1"));
    QVERIFY(german->isChecked() && !english->isChecked());
    english->trigger();
    english->trigger();
    QVERIFY(english->isChecked() && !german->isChecked());
    QCOMPARE(boxes.texts, QStringList{"Die gewählte Sprache gilt ab dem nächsten Start des Programms."});
    QCOMPARE(app::storedLanguage(settings::ExtensionSettings(windows.form1->files())), app::Language::English);
    windows = app::createAppWindows(dir.path());
    QVERIFY(windows.form1->findChild<QAction *>(QStringLiteral("English1"))->isChecked());
}

// Every window and menu that opens without a file or print dialog, and the boxes
// of the menu items that ask: no word of a German source text may show unless
// an English text has it too. So the names kept in every language (Velmora
// Projekt, WiPort, SSC32, dialout, pKanal) pass; the robot's parts are plain
// words and show in English (Base, Shoulder, ..., Chassis).
void TestEnglish::englishConsoleShowsNoGermanWords()
{
    const Catalogue catalogue = readTs(QStringLiteral(VELMORA_TRANSLATIONS));
    // Words of four letters or more, as written in any case, mnemonics left out.
    const auto wordsOf = [](QString text) {
        QSet<QString> words;
        static const QRegularExpression word(QStringLiteral("[A-Za-zÄÖÜäöüß]{4,}"));
        for (const auto &match : word.globalMatch(text.remove(QLatin1Char('&'))))
            words << match.captured().toLower();
        return words;
    };
    QSet<QString> englishWords;
    QSet<QString> germanWords;
    for (const Entry &entry : catalogue)
        englishWords += wordsOf(entry.translation);
    for (auto text = catalogue.cbegin(); text != catalogue.cend(); ++text)
        germanWords += wordsOf(text.key().second) - englishWords;

    app::useLanguage(app::Language::English);
    ProgramDirFixture dir;
    ShownBoxes boxes;
    app::AppWindows windows = app::createAppWindows(dir.path());
    windows.form1->show();
    QCOMPARE(boxes.texts, QStringList{"Error while reading the settings"});
    for (const char *item : {"Einstellungenspeichern1", "erstellen1", "starten1", "Telemetrie1", "Kinematik1",
                             "Steuerung1", "Arm1", "Verbindungsuchen1", "Fernsteuerung1", "RoboterArm1",
                             "RoboterFahrwerk1", "Info1"})
        windows.form1->findChild<QAction *>(QLatin1String(item))->trigger();
    QCOMPARE(boxes.texts.size(), 3);

    QStringList german;
    QStringList shown = boxes.texts;
    for (QWidget *widget : QApplication::allWidgets())
        shown += shownTexts(*widget);
    for (const QString &text : shown) {
        if (wordsOf(text).intersects(germanWords))
            german << text;
    }
    german.removeDuplicates();
    QVERIFY2(german.isEmpty(), qPrintable(german.join(QLatin1String(" | "))));
}

VELMORA_WINDOW_TEST_MAIN(TestEnglish)

#include "test_english.moc"
