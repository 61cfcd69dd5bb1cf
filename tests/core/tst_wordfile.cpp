#include <QtTest>

#include "core/WordFile.h"

// Words joined by '|', so a table row shows the whole expected list at a glance.
static QString joined(const vostrel::WordList& words) {
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

        QTest::newRow("one per line, last line ended")
            << QByteArray("apple\nbread\n") << "apple|bread" << false;
        QTest::newRow("CRLF and lone CR")
            << QByteArray("apple\r\nbread\rfig") << "apple|bread|fig" << false;
        QTest::newRow("commas") << QByteArray("apple,bread,cheese\n") << "apple|bread|cheese"
                                << false;
        QTest::newRow("blanks and tabs around, not within")
            << QByteArray("  ice cream \t,\tbread  \n") << "ice cream|bread" << false;
        QTest::newRow("empty lines and fields")
            << QByteArray("\n\napple\n,,\n  \n\t\nbread,") << "apple|bread" << false;
        QTest::newRow("nothing but separators") << QByteArray(" ,\r\n,\n\r ,") << "" << false;
        QTest::newRow("quoted, with comma and blanks")
            << QByteArray("\"a,b\",\" pad \"") << "a,b| pad " << false;
        QTest::newRow("quoted across lines")
            << QByteArray("\"two\nlines\"\nnext") << "two\nlines|next" << false;
        QTest::newRow("text after closing quote dropped")
            << QByteArray("\"ab\"cd,ef") << "ab|ef" << false;
        QTest::newRow("empty quotes are no word") << QByteArray("\"\",apple") << "apple" << false;
        QTest::newRow("open quote runs to the end")
            << QByteArray("apple,\"bre,ad\n") << "apple|bre,ad\n"
            << false;
        QTest::newRow("quote inside a word kept") << QByteArray("it\"s\n") << "it\"s" << false;
        QTest::newRow("NUL is an ordinary byte")
            << QByteArray("a\0b\n", 4) << QString::fromUtf8("a\0b", 3) << false;
        const QByteArray longest(vostrel::kMaxWordBytes, 'w');
        QTest::newRow("longest word, and one longer is none")
            << "a\n" + longest + "\n\"" + longest + "w\",b"
            << "a|" + QString(longest) + "|b" << false;

        QTest::newRow("UTF-8 mark") << QByteArray(
                                           "\xEF\xBB\xBF"
                                           "caf\xC3\xA9\n")
                                    << "café" << true;
        QTest::newRow("UTF-8 mark only at the start") << QByteArray(
                                                             "a\n\xEF\xBB\xBF"
                                                             "b")
                                                      << "a|\uFEFFb" << false;
        QTest::newRow("UTF-16, little end first")
            << utf16("cat\r\n\"d,og\"\r\n ñu\r\n", false) << "cat|d,og|ñu" << true;
        QTest::newRow("UTF-16, big end first") << utf16("cat,😀\n", true) << "cat|😀" << true;
        QTest::newRow("UTF-16: a mark and nothing else") << utf16("", false) << "" << true;
        QTest::newRow("UTF-16: odd length") << utf16("ab", false) + "c"
                                            << "ab\uFFFD" << true;
        QTest::newRow("UTF-16: unpaired surrogates")
            << utf16(QString(QChar(0xD83D)) + "a\n" + QChar(0xDE00), false) << "\uFFFDa|\uFFFD"
            << true;
        QTest::newRow("UTF-16: NUL") << utf16(QString::fromUtf16(u"a\0b", 3), false)
                                     << QString::fromUtf16(u"a\0b", 3) << true;
    }

    void fields() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, words);
        QFETCH(bool, utf8);
        const vostrel::WordList list(bytes.toStdString());
        QCOMPARE(joined(list), words);
        QCOMPARE(list.encoding() == vostrel::TextEncoding::Utf8, utf8);
    }

    // Lists long enough that words are found again from the marks of every 64th word: each
    // word must come back whole and in order, whatever lies between the words.
    void longLists_data() {
        QTest::addColumn<QString>("between");
        QTest::addColumn<int>("noWordEvery");  // a field longer than a word, every so many
        QTest::newRow("one per line") << "\n" << 0;
        QTest::newRow("empty fields between words") << ",\n ,\t,\r\n" << 0;
        QTest::newRow("quoted words") << "\",\"" << 0;
        QTest::newRow("longer fields among the words") << "\n" << 97;
    }

    void longLists() {
        QFETCH(QString, between);
        QFETCH(int, noWordEvery);
        QStringList entries;
        QStringList words;
        for (int i = 0; i < 1000; ++i) {
            const bool none = noWordEvery > 0 && i % noWordEvery == 1;
            // Long words among the short ones, so marks fall on either kind.
            entries << (none          ? QString(qsizetype(vostrel::kMaxWordBytes) + 1, u'x')
                        : i % 11 == 0 ? QString(200, QChar(u'a' + i % 26)) + QString::number(i)
                                      : QStringLiteral("w%1").arg(i));
            if (!none) {
                words << entries.last();
            }
        }
        const bool quoted = between.startsWith(u'"');
        const QString text = (quoted ? "\"" : "") + entries.join(between) + (quoted ? "\"" : "\n");
        const vostrel::WordList list(text.toStdString());
        QCOMPARE(list.size(), std::size_t(words.size()));
        QCOMPARE(joined(list), words.join(u'|'));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, (void)list[list.size()]);
    }

    void decode_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QString bad(QChar(0xFFFD));
        QTest::newRow("one to four bytes")
            << QByteArray("a\xC3\xA9\xE6\x83\x85\xF0\x9F\x98\x80") << QString::fromUtf8("aé情😀");
        QTest::newRow("stray continuation") << QByteArray("a\x80z") << "a" + bad + "z";
        QTest::newRow("truncated at the end") << QByteArray("a\xE6\x83") << "a" + bad + bad;
        QTest::newRow("broken in the middle") << QByteArray("\xC3z") << bad + "z";
        QTest::newRow("overlong") << QByteArray("\xC0\xAF") << bad + bad;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << bad + bad + bad;
        QTest::newRow("beyond Unicode") << QByteArray("\xF4\x90\x80\x80") << bad.repeated(4);
        QTest::newRow("invalid lead") << QByteArray("\xFF") << bad;
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
