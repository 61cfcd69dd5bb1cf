#include <QtTest>

#include "Rows.h"
#include "core/Game.h"
#include "core/WordFile.h"

// Words joined by '|', so a table row shows the whole expected list at a glance.
static QString joined(const vostrel::Words& words) {
    QStringList list;
    for (std::size_t i = 0; i < words.size(); ++i) {
        // Character by character: QString's conversions drop a byte-order mark that a word holds.
        QString word;
        for (const char32_t c : vostrel::decodeUtf8(words[i])) {
            word += QChar::fromUcs4(c);
        }
        list << word;
    }
    return list.join(u'|');
}

static QByteArray utf16(const QString& text, bool bigEndian) {
    QByteArray out(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        out += bigEndian ? QByteArray{&high, 1} + low : QByteArray{&low, 1} + high;
    }
    return out;
}

class TestWordFile : public QObject {
    Q_OBJECT

private slots:
    void fields_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("words");
        QTest::addColumn<bool>("utf8");  // the file said how it is written

        row("one per line, last line ended", QByteArray("apple\nbread\n"), "apple|bread", false);
        row("CRLF and lone CR", QByteArray("apple\r\nbread\rfig"), "apple|bread|fig", false);
        row("commas", QByteArray("apple,bread,cheese\n"), "apple|bread|cheese", false);
        row("blanks and tabs around, not within", QByteArray("  ice cream \t,\tbread  \n"),
            "ice cream|bread", false);
        row("empty lines and fields", QByteArray("\n\napple\n,,\n  \n\t\nbread,"), "apple|bread",
            false);
        row("nothing but separators", QByteArray(" ,\r\n,\n\r ,"), "", false);
        row("quoted, with comma and blanks", QByteArray("\"a,b\",\" pad \""), "a,b| pad ", false);
        row("quoted across lines", QByteArray("\"two\nlines\"\nnext"), "two\nlines|next", false);
        row("text after closing quote dropped", QByteArray("\"ab\"cd,ef"), "ab|ef", false);
        row("empty quotes are no word", QByteArray("\"\",apple"), "apple", false);
        row("open quote runs to the end", QByteArray("apple,\"bre,ad\n"), "apple|bre,ad\n", false);
        row("quote inside a word kept", QByteArray("it\"s\n"), "it\"s", false);
        row("NUL is an ordinary byte", QByteArray("a\0b\n", 4), QString::fromUtf8("a\0b", 3),
            false);
        const QByteArray longest(vostrel::kMaxWordBytes, 'w');
        row("longest word, and one longer is none", "a\n" + longest + "\n\"" + longest + "w\",b",
            "a|" + QString(longest) + "|b", false);

        row("UTF-8 mark",
            QByteArray("\xEF\xBB\xBF"
                       "caf\xC3\xA9\n"),
            "café", true);
        row("UTF-8 mark only at the start",
            QByteArray("a\n\xEF\xBB\xBF"
                       "b"),
            "a|\uFEFFb", false);
        row("UTF-16, little end first", utf16("cat\r\n\"d,og\"\r\n ñu\r\n", false), "cat|d,og|ñu",
            true);
        row("UTF-16, big end first", utf16("cat,😀\n", true), "cat|😀", true);
        row("UTF-16: a mark and nothing else", utf16("", false), "", true);
        row("UTF-16: odd length", utf16("ab", false) + "c", "ab\uFFFD", true);
        row("UTF-16: unpaired surrogates",
            utf16(QString(QChar(0xD83D)) + "a\n" + QChar(0xDE00), false), "\uFFFDa|\uFFFD", true);
        row("UTF-16: NUL", utf16(QString::fromUtf16(u"a\0b", 3), false),
            QString::fromUtf16(u"a\0b", 3), true);
    }

    void fields() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, words);
        QFETCH(bool, utf8);
        const vostrel::Words list(bytes.toStdString());
        QCOMPARE(joined(list), words);
        QCOMPARE(list.encoding() == vostrel::TextEncoding::Utf8, utf8);
    }

    // Every word, the last included, is drawn about equally often.
    void drawIsUniform_data() {
        QTest::addColumn<int>("count");
        row("one word", 1);
        row("seven words", 7);
        row("a hundred words", 100);
    }

    void drawIsUniform() {
        QFETCH(int, count);
        std::mt19937_64 random(12345);  // NOLINT(cert-msc32-c,cert-msc51-cpp): repeatable
        const int perWord = 2000;
        std::vector<int> seen(static_cast<std::size_t>(count), 0);
        for (int i = 0; i < count * perWord; ++i) {
            ++seen.at(vostrel::drawIndex(static_cast<std::size_t>(count), random));
        }
        // Chi-square against the uniform expectation: far beyond the 99.9% point for up to 99
        // degrees of freedom, yet far below what a skewed or truncated draw gives.
        double chi = 0;
        for (const int n : seen) {
            chi += double(n - perWord) * (n - perWord) / perWord;
        }
        QVERIFY2(chi < 3.0 * count + 30, qPrintable(QString::number(chi)));
    }

    void decode_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QString bad(QChar(0xFFFD));
        row("one to four bytes", QByteArray("a\xC3\xA9\xE6\x83\x85\xF0\x9F\x98\x80"),
            QString::fromUtf8("aé情😀"));
        row("stray continuation", QByteArray("a\x80z"), "a" + bad + "z");
        row("truncated at the end", QByteArray("a\xE6\x83"), "a" + bad + bad);
        row("broken in the middle", QByteArray("\xC3z"), bad + "z");
        row("overlong", QByteArray("\xC0\xAF"), bad + bad);
        row("surrogate", QByteArray("\xED\xA0\x80"), bad + bad + bad);
        row("beyond Unicode", QByteArray("\xF4\x90\x80\x80"), bad.repeated(4));
        row("invalid lead", QByteArray("\xFF"), bad);
    }

    // Decoding, and encoding back what was decoded, which the windows' captions rely on.
    void decode() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const std::u32string decoded = vostrel::decodeUtf8(bytes.toStdString());
        QCOMPARE(QString::fromUcs4(decoded.data(), qsizetype(decoded.size())), text);
        QCOMPARE(QString::fromStdString(vostrel::encodeUtf8(decoded)), text);
    }
};

QTEST_APPLESS_MAIN(TestWordFile)
#include "tst_wordfile.moc"
