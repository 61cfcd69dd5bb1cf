#include <QtTest>
#include <set>
#include <type_traits>

#include "Acceptance.h"
#include "FakeSystem.h"
#include "KeyRows.h"
#include "RecordingFaces.h"
#include "Rows.h"
#include "forms/frmMain.h"

using vostrel::forms::Id;
using vostrel::forms::Rect;

Q_DECLARE_METATYPE(vostrel::forms::Rect)

namespace {

const QString kTitle = QStringLiteral("Vostrel: ");

using vostrel::forms::Key;
using vostrel::forms::KeyPress;

// A key by its name in the keys table: "Tab", "Shift+Tab", "Ctrl+a", "Alt+h", "F10", "a", ...
KeyPress keyPress(QString name) {
    KeyPress press;
    for (;;) {
        if (name.startsWith("Shift+")) {
            press.shift = true;
        } else if (name.startsWith("Ctrl+")) {
            press.control = true;
        } else if (name.startsWith("Alt+")) {
            press.alt = true;
        } else {
            break;
        }
        name = name.mid(name.indexOf(u'+') + 1);
    }
    static const std::map<QString, Key> named{
        {"Tab", Key::Tab},   {"Enter", Key::Enter}, {"Escape", Key::Escape}, {"Space", Key::Space},
        {"Left", Key::Left}, {"Right", Key::Right}, {"Up", Key::Up},         {"Down", Key::Down},
        {"F10", Key::F10},   {"F5", Key::Function}, {"Home", Key::Other}};
    if (const auto found = named.find(name); found != named.end()) {
        press.key = found->second;
    } else {
        press.key = Key::Character;
        press.character = name.front().unicode();
    }
    return press;
}

QStringList qlist(const std::vector<std::string>& items) {
    QStringList out;
    for (const auto& item : items) {
        out << QString::fromStdString(item);
    }
    return out;
}

// A game window over a fake installation in "/game", loaded once the caller has set it up.
struct Game {
    FakeSystem system;
    RecordingMain view;
    vostrel::frmMain form{view, system.services, "/game"};

    explicit Game(const std::string& words = "apple\n") {
        system.files.add("/game/h_dat.txt", words);
        for (int stage = 0; stage <= 10; ++stage) {
            system.files.add("/game/" + std::to_string(stage) + ".bmp",
                             bitmap("stage " + std::to_string(stage)));
        }
    }

    void guess(const QByteArray& letters) {
        for (const char c : letters) {
            form.Click(Id::CMD_ALPHA, c - 'a');
        }
    }

    [[nodiscard]] QString caption(Id id) { return QString::fromStdString(view.captions[id]); }
    [[nodiscard]] QString spoken(Id id) { return QString::fromStdString(view.spoken[id]); }
    [[nodiscard]] QStringList messages() const { return qlist(view.messages); }
    // The letters whose buttons are disabled, or "all".
    [[nodiscard]] QString disabled() const {
        QString out;
        for (int i = 0; i < 26; ++i) {
            if (!view.enabled.at(std::size_t(i))) {
                out += QChar(u'a' + i);
            }
        }
        return out.size() == 26 ? QStringLiteral("all") : out;
    }
    // Plays a line of keys and clicks as a toolkit reports them: keys by their names in the keys
    // table, "Close" (the frame's close command), "About" (Help > About, closed again by Esc), or
    // a letter alone (its button clicked with the pointer).
    void play(const QString& script) {
        for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
            if (step == "Close") {
                form.Form_QueryUnload();
            } else if (step == "About") {
                view.about.whileShown = [this] { view.aboutForm->KeyDown(keyPress("Escape")); };
                form.Click(Id::mnuHelpAbout);
            } else if (step.size() == 1) {
                const vostrel::forms::ControlRef letter{Id::CMD_ALPHA,
                                                        step.front().unicode() - u'a'};
                form.PointerDown(letter);
                form.Click(letter.id, letter.index);
            } else {
                form.KeyDown(keyPress(step));
            }
        }
    }

    void expectFreshGame(const QString& masked) {
        QCOMPARE(caption(Id::WORD_LABEL), masked);
        QCOMPARE(caption(Id::RESULT_LABEL), "LEFT10");
        QCOMPARE(caption(Id::ANSWER_LABEL), "");
        QCOMPARE(view.picture, "stage 0");
        QCOMPARE(disabled(), "");
        QVERIFY(!view.unloaded);
    }
};

// The control a view's focus is on, by name, letters by their letter.
template <class View>
QString focusOf(const View& view) {
    if (!view.focused) {
        return QStringLiteral("none");
    }
    if (view.focused->id == Id::CMD_ALPHA) {
        return QString(QChar(u'a' + view.focused->index));
    }
    const auto& form = std::is_same_v<View, RecordingAbout> ? vostrel::forms::aboutForm()
                                                            : vostrel::forms::mainForm();
    return QLatin1String(vostrel::forms::control(form, *view.focused).name);
}

}  // namespace

class TestForms : public QObject {
    Q_OBJECT

private slots:
    void newGame_data() {
        QTest::addColumn<int>("kind");  // FakeFileSystem::Kind, or -1 for absent
        QTest::addColumn<QByteArray>("words");
        QTest::addColumn<QString>("message");  // none: a fresh game of `masked`
        QTest::addColumn<QString>("masked");
        const int file = int(FakeFileSystem::Kind::File);
        row("one word", file, QByteArray("apple\n"), "", "?????");
        row("absent", -1, QByteArray(), "Data File Not exists.", "");
        row("a folder", int(FakeFileSystem::Kind::Special), QByteArray(), "Data File Not exists.",
            "");
        row("unreadable", int(FakeFileSystem::Kind::Unreadable), QByteArray(),
            "The word file cannot be read.", "");
        row("empty", file, QByteArray(), "The word file holds no words.", "");
        row("only a byte-order mark", file, QByteArray("\xFF\xFE"), "The word file holds no words.",
            "");
        row("larger than any word list", file,
            QByteArray(qsizetype(vostrel::kMaxWordFileBytes) + 1, 'a'),
            "The word file is too large to be a word list.", "");
    }

    // A new game shows a masked word, the first picture and all ten tries, or says why not
    // and unloads the window.
    void newGame() {
        QFETCH(int, kind);
        QFETCH(QByteArray, words);
        QFETCH(QString, message);
        QFETCH(QString, masked);
        Game game;
        game.system.files.remove("/game/h_dat.txt");
        if (kind >= 0) {
            game.system.files.add("/game/h_dat.txt", words.toStdString(),
                                  FakeFileSystem::Kind(kind));
        }
        game.form.Form_Load();
        if (message.isEmpty()) {
            QCOMPARE(game.messages(), QStringList());
            game.expectFreshGame(masked);
        } else {
            QCOMPARE(game.messages(), QStringList{kTitle + message});
            QVERIFY(game.view.unloaded && game.form.isUnloaded());
        }
    }

    // Reset & Start at any point begins afresh from the word file as it is now, or ends the
    // game where the file is gone.
    void resetStartsAfresh_data() {
        QTest::addColumn<QByteArray>("guesses");
        QTest::addColumn<QByteArray>("wordsThen");  // the word file before the reset; none: gone
        QTest::addColumn<QString>("masked");
        row("mid-game", QByteArray("apz"), QByteArray("apple"), "?????");
        row("after a win", QByteArray("aple"), QByteArray("apple"), "?????");
        row("after a loss", QByteArray("zzzzzzzzzz"), QByteArray("apple"), "?????");
        row("the list changed", QByteArray("a"), QByteArray("fig"), "???");
        row("the list gone", QByteArray("a"), QByteArray(), "");
    }

    void resetStartsAfresh() {
        QFETCH(QByteArray, guesses);
        QFETCH(QByteArray, wordsThen);
        QFETCH(QString, masked);
        Game game;
        game.form.Form_Load();
        game.guess(guesses);
        game.system.files.remove("/game/h_dat.txt");
        if (!wordsThen.isEmpty()) {
            game.system.files.add("/game/h_dat.txt", wordsThen.toStdString());
        }
        game.form.Click(Id::CMD_RESET);
        if (masked.isEmpty()) {
            QCOMPARE(game.messages(), QStringList{kTitle + "Data File Not exists."});
            QVERIFY(game.view.unloaded);
            return;
        }
        game.expectFreshGame(masked);
        QCOMPARE(game.view.said.back(),
                 "New game: a word of " + std::to_string(masked.size()) + " letters");
    }

    void guesses_data() {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<QByteArray>("guesses");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("disabled");
        const QByteArray ten(10, 'z');
        row("a letter at two places", QByteArray("apple"), QByteArray("p"), "?pp??", "LEFT10", "",
            "stage 0", "p");
        row("a miss", QByteArray("apple"), QByteArray("z"), "?????", "LEFT 9", "", "stage 1", "");
        row("a repeated miss counts again", QByteArray("apple"), QByteArray("zz"), "?????",
            "LEFT 8", "", "stage 2", "");
        row("the ninth miss", QByteArray("apple"), QByteArray(9, 'z'), "?????", "LEFT 1", "",
            "stage 9", "");
        row("the tenth miss: lost, the word left as it was", QByteArray("apple"), "a" + ten,
            "a????", "You are hunged !", "apple", "stage 10", "all");
        row("a win after misses", QByteArray("apple"), QByteArray("zqaple"), "apple",
            "You've got it !", "", "stage 2", "all");
        row("a win on the last try", QByteArray("apple"), QByteArray(9, 'z') + "aple", "apple",
            "You've got it !", "", "stage 9", "all");
        row("characters no button bears stay hidden", QByteArray("Co-op"), QByteArray("cop"),
            "?o?op", "LEFT 9", "", "stage 1", "op");
        row("after a loss, a letter of the word changes nothing", QByteArray("apple"), ten + "a",
            "?????", "You are hunged !", "apple", "stage 10", "all");
        row("after a win, a miss changes nothing", QByteArray("apple"), QByteArray("aplez"),
            "apple", "You've got it !", "", "stage 0", "all");
    }

    void guesses() {
        QFETCH(QByteArray, word);
        QFETCH(QByteArray, guesses);
        QFETCH(QString, shown);
        QFETCH(QString, result);
        QFETCH(QString, answer);
        QFETCH(QString, picture);
        QFETCH(QString, disabled);
        Game game(word.toStdString());
        game.form.Form_Load();
        game.guess(guesses);
        QCOMPARE(game.caption(Id::WORD_LABEL), shown);
        QCOMPARE(game.caption(Id::RESULT_LABEL), result);
        QCOMPARE(game.caption(Id::ANSWER_LABEL), answer);
        QCOMPARE(QString::fromStdString(game.view.picture), picture);
        QCOMPARE(game.disabled(), disabled);
    }

    // A label fits its caption around its designed centre, moves in to stay inside the window,
    // and shows a caption wider than the window by its two ends.
    void captionPlacement_data() {
        QTest::addColumn<int>("letters");
        QTest::addColumn<int>("shown");  // characters
        QTest::addColumn<Rect>("bounds");
        // The word's label is designed 137 pixels wide from 310; the window is 532 wide, and the
        // picture's right edge stands at 234, 8 pixels of gap before the room begins at 242.
        row("short", 5, 5, Rect{351, 24, 54, 24});
        row("wide, still around its centre", 20, 20, Rect{276, 24, 204, 24});
        row("moved out from the picture", 28, 28, Rect{242, 24, 284, 24});
        row("wider than its room beside the picture", 29, 27, Rect{242, 24, 274, 24});
        row("the longest word", 64, 27, Rect{242, 24, 274, 24});
    }

    void captionPlacement() {
        QFETCH(int, letters);
        QFETCH(int, shown);
        QFETCH(Rect, bounds);
        Game game(std::string(std::size_t(letters), 'q') + "\n");
        game.form.Form_Load();
        const QString caption = game.caption(Id::WORD_LABEL);
        QCOMPARE(caption.size(), shown);
        QCOMPARE(caption.contains(u'…'), shown < letters);
        QCOMPARE(game.view.bounds(Id::WORD_LABEL), bounds);
    }

    // Screen readers hear the word spelled, the tries and the picture by name, told only when
    // they change, and every guess said unasked; the end is an alert as well.
    void screenReaders_data() {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<char>("guess");
        QTest::addColumn<QStringList>("names");  // word, result, picture, answer after the guess
        QTest::addColumn<QString>("renamed");    // the labels told of the guess
        QTest::addColumn<QString>("said");
        const QString hidden = QStringLiteral("Answer hidden");
        const QByteArray apple("apple");
        row("hit", apple, QByteArray(), 'p',
            QStringList{"Word: blank, p, p, blank, blank", "10 tries left",
                        "Gallows: 0 of 10 misses", hidden},
            "WORD_LABEL", "p found. Word: blank, p, p, blank, blank");
        row("miss", apple, QByteArray(), 'z',
            QStringList{"Word: blank, blank, blank, blank, blank", "9 tries left",
                        "Gallows: 1 of 10 misses", hidden},
            "RESULT_LABEL HUNG_PICT", "z missed. 9 tries left");
        row("winning guess", apple, QByteArray("apl"), 'e',
            QStringList{"Word: a, p, p, l, e", "You've got it !", "Gallows: 0 of 10 misses",
                        hidden},
            "WORD_LABEL RESULT_LABEL", "e found. Word: a, p, p, l, e. You've got it !");
        row("losing guess", apple, QByteArray(9, 'z'), 'z',
            QStringList{"Word: blank, blank, blank, blank, blank", "You are hunged !",
                        "Gallows: 10 of 10 misses", "Answer: apple"},
            "RESULT_LABEL HUNG_PICT ANSWER_LABEL", "z missed. You are hunged ! Answer: apple");
    }

    void screenReaders() {
        QFETCH(QByteArray, word);
        QFETCH(QByteArray, before);
        QFETCH(char, guess);
        QFETCH(QStringList, names);
        QFETCH(QString, renamed);
        QFETCH(QString, said);
        Game game(word.toStdString());
        game.form.Form_Load();
        game.guess(before);
        game.view.renamed.clear();
        game.view.said.clear();
        game.guess(QByteArray(1, guess));
        QCOMPARE((QStringList{game.spoken(Id::WORD_LABEL), game.spoken(Id::RESULT_LABEL),
                              game.spoken(Id::HUNG_PICT), game.spoken(Id::ANSWER_LABEL)}),
                 names);
        QStringList told;
        for (const Id id : game.view.renamed) {
            told << vostrel::forms::control(vostrel::forms::mainForm(), id).name;
        }
        QCOMPARE(told.join(u' '), renamed);
        QCOMPARE(game.view.said, std::vector<std::string>{said.toStdString()});
        QCOMPARE(game.view.alerts.size(),
                 std::size_t(renamed.contains("RESULT_LABEL") && !names[1].contains("left")));
    }

    // The focus where a single key cannot take it (what each key does is the keys table's): a
    // found letter at the end of the order hands it round to a letter, never to Reset & Start;
    // About gives it back, and keys wait while About is open.
    void keyboard_data() {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("focus");
        row("the last letter found", QByteArray("ba"), "Shift+Tab Shift+Tab Shift+Tab Space", "l");
        row("About gives it back", QByteArray("moon"), "Tab Tab About", "z");
        row("keys wait while About is open", QByteArray("moon"), "About Tab", "l");
    }

    void keyboard() {
        QFETCH(QByteArray, word);
        QFETCH(QString, script);
        QFETCH(QString, focus);
        Game game(word.toStdString());
        QVERIFY(game.form.Load());
        if (script.startsWith("About ")) {
            game.view.about.whileShown = [&] {
                game.form.KeyDown(keyPress("Tab"));
                game.view.aboutForm->Click(Id::cmdOK);
            };
            game.form.Click(Id::mnuHelpAbout);
            script = script.mid(6);
        }
        game.play(script);
        QCOMPARE(focusOf(game.view), focus);
    }

    // Every key and pointer press of the keys table, as the procedures decide it for each system.
    void keysAsDesigned_data() { keyRows({"windows", "linux", "browser"}); }

    void keysAsDesigned() {
        QFETCH(QString, system);
        QFETCH(QString, window);
        QFETCH(QString, before);
        QFETCH(QString, keys);
        QFETCH(QString, after);
        QFETCH(QString, shows);
        using vostrel::forms::KeyAction;
        Game game("moon");
        game.view.conventionsNow = system == "windows"   ? vostrel::forms::kWindowsConventions
                                   : system == "browser" ? vostrel::forms::kBrowserConventions
                                                         : vostrel::forms::kLinuxConventions;
        QVERIFY(game.form.Load());
        const bool about = window == "frmAbout";
        QString focus;
        const auto play = [&](auto& face, auto& form, const vostrel::forms::Form& design) {
            const auto ref = [&](const QString& name) -> vostrel::forms::ControlRef {
                if (name.size() == 1) {
                    return {Id::CMD_ALPHA, name.front().unicode() - u'a'};
                }
                for (const auto& c : design.controls) {
                    if (name == c.name) {
                        return c.ref();
                    }
                }
                throw std::out_of_range("no control " + name.toStdString());
            };
            face.focused = ref(before);
            KeyAction last = KeyAction::Done;
            for (const QString& step : keys.split(u' ')) {
                if (step.startsWith("Click(")) {
                    const QString target = step.mid(6).chopped(1);
                    if (target == "ground") {
                        form.PointerDown(std::nullopt);
                        continue;
                    }
                    const vostrel::forms::ControlRef at = ref(target);
                    form.PointerDown(at);
                    // A toolkit reports clicks on enabled buttons only.
                    const auto& clicked = vostrel::forms::control(design, at);
                    if (clicked.kind == vostrel::forms::Kind::Button &&
                        (at.id != Id::CMD_ALPHA || game.view.enabled.at(std::size_t(at.index)))) {
                        form.Click(at.id, at.index);
                    }
                    last = KeyAction::Done;
                    continue;
                }
                const bool held = step.endsWith(u'*');
                KeyPress press = keyPress(held ? step.chopped(1) : step);
                for (int times = held ? 2 : 1; times > 0; --times) {
                    last = form.KeyDown(press);
                    press.repeat = true;
                }
            }
            focus = last == KeyAction::Menus ? QStringLiteral("menus")
                    : last == KeyAction::Onwards && (keys == "Tab" || keys == "Shift+Tab")
                        ? QStringLiteral("outside")
                        : focusOf(face);
        };
        QString state;
        if (about) {
            game.view.about.whileShown = [&] {
                play(game.view.about, *game.view.aboutForm, vostrel::forms::aboutForm());
                state = !game.view.about.messages.empty() ? QStringLiteral("message")
                        : game.view.about.unloaded        ? QStringLiteral("closed")
                                                          : QStringLiteral("open");
                if (state == "closed") {
                    focus = "-";
                }
                game.view.about.unloaded = true;
            };
            game.form.Click(Id::mnuHelpAbout);
        } else {
            play(game.view, game.form, vostrel::forms::mainForm());
            state = game.caption(Id::WORD_LABEL) + u'/' + game.caption(Id::RESULT_LABEL);
        }
        QCOMPARE(focus, after);
        QCOMPARE(state, shows);
    }

    // The About window shows the title and version at every showing; the system-information
    // button starts the tool or says it cannot, and the window stays open.
    void aboutWindow_data() {
        QTest::addColumn<bool>("toolInRegistry");
        QTest::addColumn<QStringList>("messages");
        row("the tool is found", true, QStringList());
        row("nothing leads to the tool", false,
            QStringList{kTitle + QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません")});
    }

    void aboutWindow() {
        QFETCH(bool, toolInRegistry);
        QFETCH(QStringList, messages);
        Game game;
        if (toolInRegistry) {
            game.system.registry.setValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                                          vostrel::kRegSz, "C:\\msinfo32.exe");
            game.system.programs.programs = {"C:\\msinfo32.exe"};
        }
        game.form.Form_Load();
        RecordingAbout& about = game.view.about;
        bool openAfterSysInfo = false;
        about.whileShown = [&] {
            game.view.aboutForm->Click(Id::cmdSysInfo);
            openAfterSysInfo = !about.unloaded;
            game.view.aboutForm->Click(Id::cmdOK);
        };
        game.form.Click(Id::mnuHelpAbout);
        QCOMPARE(about.title, "Vostrelのﾊﾞｰｼﾞｮﾝ情報");
        QCOMPARE(about.captions[Id::lblVersion], "ﾊﾞｰｼﾞｮﾝ 1.0.0");
        QCOMPARE(about.captions[Id::lblTitle], "Vostrel");
        QCOMPARE(about.bounds(Id::lblTitle), (Rect{70, 16, 70, 20}));  // grown from its left
        QCOMPARE(about.spoken[Id::picIcon], "Vostrel");
        QCOMPARE(qlist(about.messages), messages);
        QCOMPARE(game.system.programs.attempts.size(), std::size_t(toolInRegistry));
        QVERIFY(openAfterSysInfo && about.unloaded);

        game.form.Click(Id::mnuFileExit);  // open again for input once About is closed
        QVERIFY(game.view.unloaded);
        game.form.Click(Id::CMD_RESET);  // an unloaded window takes no more clicks
        QVERIFY(game.view.said.empty());
    }

    // On a screen held upright the same controls stand elsewhere: every one inside the window
    // and apart from the others, the picture and the labels above the letters, Reset & Start and
    // Exit beneath them; captions, fonts, looks and tab order as designed. (The letters' size is
    // the page's phone test's.)
    void uprightArrangement() {
        using namespace vostrel::forms;
        const Form& upright = uprightMainForm();
        const Form& design = mainForm();
        QCOMPARE(upright.controls.size(), design.controls.size());
        const auto inside = [&](const TwipsRect& r) {
            return r.left >= 0 && r.top >= 0 && r.left + r.width <= upright.clientWidth &&
                   r.top + r.height <= upright.clientHeight;
        };
        const auto apart = [](const TwipsRect& a, const TwipsRect& b) {
            return a.left + a.width <= b.left || b.left + b.width <= a.left ||
                   a.top + a.height <= b.top || b.top + b.height <= a.top;
        };
        int lettersTop = upright.clientHeight;
        int lettersBottom = 0;
        for (std::size_t i = 0; i < upright.controls.size(); ++i) {
            const Control& c = upright.controls[i];
            const Control& d = design.controls[i];
            const QByteArray what = QByteArray(c.name) + QByteArray::number(c.index);
            QVERIFY2(c.ref() == d.ref() && std::string(c.caption) == d.caption &&
                         c.font == d.font && c.tabIndex == d.tabIndex && c.sizing == d.sizing &&
                         c.ground == d.ground && c.border == d.border,
                     what);
            QVERIFY2(inside(c.rect), what);
            for (const Control& other : upright.controls) {
                QVERIFY2(&other == &c || apart(c.rect, other.rect), what + " and " + other.name);
            }
            if (c.id == Id::CMD_ALPHA) {
                lettersTop = std::min(lettersTop, c.rect.top);
                lettersBottom = std::max(lettersBottom, c.rect.top + c.rect.height);
            }
        }
        for (const Id above : {Id::HUNG_PICT, Id::WORD_LABEL, Id::RESULT_LABEL, Id::Label1}) {
            const TwipsRect& r = control(upright, above).rect;
            QVERIFY(r.top + r.height <= lettersTop);
        }
        for (const Id below : {Id::CMD_RESET, Id::cmdExit}) {
            QVERIFY(control(upright, below).rect.top >= lettersBottom);
        }
    }
};

QTEST_APPLESS_MAIN(TestForms)
#include "tst_forms.moc"
