#include <QAccessible>

#include "GuiTestSupport.h"
#include "ScreenReader.h"
#include "frmAbout.h"

Q_DECLARE_METATYPE(QAccessible::Role)

namespace {

struct Heard {
    const QObject* object;
    QAccessible::Event type;
};

// Everything the windows tell assistive technology.
QList<Heard>& heard() {
    static QList<Heard> events{};
    return events;
}

void record(const QWidget* control, QAccessible::Event what) {
    heard().append({control, what});
}

bool wasTold(const QObject* object, QAccessible::Event type) {
    return std::any_of(heard().cbegin(), heard().cend(),
                       [&](const Heard& h) { return h.object == object && h.type == type; });
}

QWidget* control(const QWidget& window, const QString& name) {
    if (name.size() == 1) {
        return letter(window, name.front().toLatin1());
    }
    return window.findChild<QWidget*>(name);
}

void expectControl(QWidget* widget, QAccessible::Role role, const QString& name) {
    QVERIFY(widget != nullptr);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(face != nullptr);
    QCOMPARE(face->role(), role);
    QCOMPARE(face->text(QAccessible::Name), name);
}

QString spokenName(const QWidget& window, const char* name) {
    return QAccessible::queryAccessibleInterface(control(window, QLatin1String(name)))
        ->text(QAccessible::Name);
}

void click(const QWidget& window, const QByteArray& letters) {
    for (const char c : letters) {
        QTest::mouseClick(letter(window, c), Qt::LeftButton);
    }
}

}  // namespace

// What a screen reader finds on the windows and hears while a game is played.
class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        useAppTitle();
        vostrel::setScreenReaderListener(record);
    }

    void init() { heard().clear(); }

    void mainWindowControls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("letter a") << "a" << QAccessible::PushButton << "a";
        QTest::newRow("letter z") << "z" << QAccessible::PushButton << "z";
        QTest::newRow("reset") << "CMD_RESET" << QAccessible::PushButton << "Reset & Start";
        QTest::newRow("exit") << "cmdExit" << QAccessible::PushButton << "Exit";
        QTest::newRow("word") << "WORD_LABEL" << QAccessible::StaticText
                              << "Word: blank, blank, blank, blank, blank";
        QTest::newRow("tries") << "RESULT_LABEL" << QAccessible::StaticText << "10 tries left";
        QTest::newRow("answer") << "ANSWER_LABEL" << QAccessible::StaticText << "Answer hidden";
        QTest::newRow("picture") << "HUNG_PICT" << QAccessible::Graphic
                                 << "Gallows: 0 of 10 misses";
        QTest::newRow("instruction")
            << "Label1" << QAccessible::StaticText << "Select any letter  below";
    }

    void mainWindowControls() {
        QFETCH(QString, name);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, spoken);
        AppFolder folder("apple\n");
        const auto window = folder.load();
        window->show();
        QWidget* widget = control(*window, name);
        expectControl(widget, role, spoken);
        const QAccessible::State state = QAccessible::queryAccessibleInterface(widget)->state();
        QVERIFY(!state.disabled);
        QCOMPARE(bool(state.focusable), widget->focusPolicy() != Qt::NoFocus);
    }

    // After each run of guesses the names say what the window shows.
    void namesFollowTheGame_data() {
        QTest::addColumn<QByteArray>("guesses");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("answer");
        QTest::newRow("hit") << QByteArray("p") << "Word: blank, p, p, blank, blank"
                             << "10 tries left"
                             << "Gallows: 0 of 10 misses"
                             << "Answer hidden";
        QTest::newRow("miss") << QByteArray("pz") << "Word: blank, p, p, blank, blank"
                              << "9 tries left"
                              << "Gallows: 1 of 10 misses"
                              << "Answer hidden";
        QTest::newRow("last try") << QByteArray("zzzzzzzzz")
                                  << "Word: blank, blank, blank, blank, blank"
                                  << "1 try left"
                                  << "Gallows: 9 of 10 misses"
                                  << "Answer hidden";
        QTest::newRow("won") << QByteArray("zqpalxe") << "Word: a, p, p, l, e"
                             << "You've got it !"
                             << "Gallows: 3 of 10 misses"
                             << "Answer hidden";
        QTest::newRow("lost") << QByteArray("azzzzzzzzzz") << "Word: a, blank, blank, blank, blank"
                              << "You are hunged !"
                              << "Gallows: 10 of 10 misses"
                              << "Answer: apple";
    }

    void namesFollowTheGame() {
        QFETCH(QByteArray, guesses);
        QFETCH(QString, word);
        QFETCH(QString, result);
        QFETCH(QString, picture);
        QFETCH(QString, answer);
        AppFolder folder("apple\n");
        const auto window = folder.load();
        click(*window, guesses);
        QCOMPARE(spokenName(*window, "WORD_LABEL"), word);
        QCOMPARE(spokenName(*window, "RESULT_LABEL"), result);
        QCOMPARE(spokenName(*window, "HUNG_PICT"), picture);
        QCOMPARE(spokenName(*window, "ANSWER_LABEL"), answer);
        // A guessed letter's button is reported unavailable, as it is greyed.
        QAccessibleInterface* p = QAccessible::queryAccessibleInterface(letter(*window, 'p'));
        QCOMPARE(bool(p->state().disabled), guesses.contains('p') || !result.contains("left"));
    }

    void resetSpeaksAFreshGame() {
        AppFolder folder("apple\n");
        const auto window = folder.load();
        click(*window, "azzzzzzzzzz");
        button(*window, "CMD_RESET")->click();
        QCOMPARE(spokenName(*window, "WORD_LABEL"), "Word: blank, blank, blank, blank, blank");
        QCOMPARE(spokenName(*window, "RESULT_LABEL"), "10 tries left");
        QCOMPARE(spokenName(*window, "HUNG_PICT"), "Gallows: 0 of 10 misses");
        QCOMPARE(spokenName(*window, "ANSWER_LABEL"), "Answer hidden");
    }

    // Each guess tells assistive technology what changed, and only that; the end is an alert.
    void announcements_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<char>("guess");
        QTest::addColumn<QStringList>("renamed");
        QTest::addColumn<bool>("alert");
        QTest::newRow("hit") << QByteArray() << 'p' << QStringList{"WORD_LABEL"} << false;
        QTest::newRow("miss") << QByteArray() << 'z' << QStringList{"RESULT_LABEL", "HUNG_PICT"}
                              << false;
        QTest::newRow("winning guess")
            << QByteArray("apl") << 'e' << QStringList{"WORD_LABEL", "RESULT_LABEL"} << true;
        QTest::newRow("losing guess")
            << QByteArray("zzzzzzzzz") << 'z'
            << QStringList{"RESULT_LABEL", "HUNG_PICT", "ANSWER_LABEL"} << true;
    }

    void announcements() {
        QFETCH(QByteArray, before);
        QFETCH(char, guess);
        QFETCH(QStringList, renamed);
        QFETCH(bool, alert);
        AppFolder folder("apple\n");
        const auto window = folder.load();
        click(*window, before);
        heard().clear();
        click(*window, QByteArray(1, guess));
        for (const char* name : {"WORD_LABEL", "RESULT_LABEL", "HUNG_PICT", "ANSWER_LABEL"}) {
            QCOMPARE(wasTold(control(*window, QLatin1String(name)), QAccessible::NameChanged),
                     renamed.contains(QLatin1String(name)));
        }
        QCOMPARE(wasTold(label(*window, "RESULT_LABEL"), QAccessible::Alert), alert);
    }

    void aboutWindowControls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("ok") << "cmdOK" << QAccessible::PushButton << "OK";
        QTest::newRow("system information")
            << "cmdSysInfo" << QAccessible::PushButton << QStringLiteral("ｼｽﾃﾑ情報(S)...");
        QTest::newRow("title") << "lblTitle" << QAccessible::StaticText << "Vostrel";
        QTest::newRow("version") << "lblVersion" << QAccessible::StaticText
                                 << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.0.0");
        QTest::newRow("icon") << "picIcon" << QAccessible::Graphic << "Vostrel";
    }

    void aboutWindowControls() {
        QFETCH(QString, name);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, spoken);
        frmAbout about;
        about.Form_Load();
        expectControl(about.findChild<QWidget*>(name), role, spoken);
    }

    void aboutWindowItself() {
        frmAbout about;
        about.Form_Load();
        expectControl(&about, QAccessible::Dialog, QStringLiteral("Vostrelのﾊﾞｰｼﾞｮﾝ情報"));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
