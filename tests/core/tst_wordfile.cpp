#include <QtTest>

#include "core/WordFile.h"

// Words joined by '|', so a table row shows the whole expected list at a glance.
static QString joined(const vostrel::WordList& words) {
    QStringList list;
    for (std::size_t i = 0; i < words.size(); ++i) {
        // Not QString::fromUtf8: it would drop a byte-order mark that a word really holds.
        QString word;
        for (const char32_t c : vostrel::decodeUtf8(words[i])) {
            word.append(QChar::fromUcs4(c));
        }
        list << word;
    }
    return list.join(u'|');
}

class TestWordFile : public QObject {
    Q_OBJECT

private slots:
    void fields_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("words");

        QTest::newRow("one per line") << QByteArray("apple\nbread\ncheese") << "apple|bread|cheese";
        QTest::newRow("final line end adds no word")
            << QByteArray("apple\nbread\n") << "apple|bread";
        QTest::newRow("CRLF") << QByteArray("apple\r\nbread\r\n") << "apple|bread";
        QTest::newRow("lone CR") << QByteArray("apple\rbread\r") << "apple|bread";
        QTest::newRow("commas") << QByteArray("apple,bread,cheese\n") << "apple|bread|cheese";
        QTest::newRow("blanks and tabs around")
            << QByteArray("  apple \t,\tbread  \n") << "apple|bread";
        QTest::newRow("inner blank kept") << QByteArray("ice cream\n") << "ice cream";
        QTest::newRow("empty lines and fields")
            << QByteArray("\n\napple\n,,\n  \n\t\nbread,") << "apple|bread";
        QTest::newRow("only separators") << QByteArray(" ,\r\n,\n\r ,") << "";
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("quoted with comma") << QByteArray("\"a,b\",c") << "a,b|c";
        QTest::newRow("quoted keeps blanks") << QByteArray("\" pad \"\n") << " pad ";
        QTest::newRow("quoted across lines")
            << QByteArray("\"two\nlines\"\nnext") << "two\nlines|next";
        QTest::newRow("text after closing quote dropped") << QByteArray("\"ab\"cd,ef") << "ab|ef";
        QTest::newRow("empty quotes are no word") << QByteArray("\"\",apple") << "apple";
        QTest::newRow("open quote runs to end")
            << QByteArray("apple,\"bre,ad\n") << "apple|bre,ad\n";
        QTest::newRow("lone open quote at end") << QByteArray("apple\n\"") << "apple";
        QTest::newRow("quote inside a word kept") << QByteArray("it\"s\n") << "it\"s";
        QTest::newRow("byte-order mark skipped") << QByteArray(
                                                        "\xEF\xBB\xBF"
                                                        "apple\n")
                                                 << "apple";
        QTest::newRow("mark only at the start") << QByteArray(
                                                       "a\n\xEF\xBB\xBF"
                                                       "b")
                                                << "a|\xEF\xBB\xBF"
                                                   "b";
        const QByteArray longest(vostrel::kMaxWordBytes, 'w');
        QTest::newRow("longest word") << "a\n" + longest << "a|" + QString::fromLatin1(longest);
        QTest::newRow("longer field is no word") << "a\n" + longest + "w\nb"
                                                 << "a|b";
        QTest::newRow("quoted: longest word")
            << "\"" + longest + "\"" << QString::fromLatin1(longest);
        QTest::newRow("quoted: longer field is no word") << "a,\"" + longest + ",\",b"
                                                         << "a|b";
        QTest::newRow("blanks around do not count")
            << "  " + longest + "  " << QString::fromLatin1(longest);
        // Past the first 64 words a word is found again by reading the fields before it, which
        // must pass over the same fields.
        QByteArray mixed;
        QStringList kept;
        for (int i = 0; i < 200; ++i) {
            if (i % 3 == 0) {
                mixed += longest + "w\n";
            } else {
                mixed += QByteArray::number(i) + "\n";
                kept << QString::number(i);
            }
        }
        QTest::newRow("longer fields among many words") << mixed << kept.join(u'|');
        // Plain words for blocks on end, then a field that needs reading field by field: the
        // words counted before it must count once.
        QByteArray plain;
        QStringList plainWords;
        for (int i = 0; i < 150; ++i) {
            plain += "w" + QByteArray::number(i) + (i % 2 == 0 ? "\r\n" : ",");
            plainWords << "w" + QString::number(i);
        }
        QTest::newRow("quote after many plain words")
            << plain + "\"q r\"" << plainWords.join(u'|') + "|q r";
        QTest::newRow("blank after many plain words") << plain + "x y\n"
                                                      << plainWords.join(u'|') + "|x y";
        QTest::newRow("longer field after many plain words")
            << plain + longest + "w\nz" << plainWords.join(u'|') + "|z";
        QTest::newRow("longest word after many plain words")
            << plain + longest << plainWords.join(u'|') + "|" + QString::fromLatin1(longest);
        QTest::newRow("NUL is an ordinary byte")
            << QByteArray("a\0b\n", 4) << QString::fromUtf8("a\0b", 3);
        QTest::newRow("separators at every place in a block")
            << QByteArray("abcdefghijk,lm\r\nnopqrstuvwxyz012\rab,c,d\n")
            << "abcdefghijk|lm|nopqrstuvwxyz012|ab|c|d";
        QTest::newRow("near misses of separators are letters")
            << QByteArray("a\x0B\x0C+-\x8A\xAC\x8D\x0A\x0Bz")
            << QString::fromUtf8("a\x0B\x0C+-") + QString(3, QChar(0xFFFD)) + "|\x0Bz";
        QTest::newRow("text after closing quote in a long field")
            << QByteArray("\"ab\"cdefghijklmnopq,rs") << "ab|rs";
    }

    void fields() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, words);
        const vostrel::WordList list(bytes.toStdString());
        QCOMPARE(joined(list), words);
    }

    // Lists long enough that words are found again from the marks of every 64th word: each
    // word must come back whole and in order, whatever lies between the words.
    void longLists_data() {
        QTest::addColumn<int>("shortWords");
        QTest::addColumn<int>("longWords");
        QTest::addColumn<QString>("between");
        QTest::newRow("one per line") << 3000 << 300 << "\n";
        QTest::newRow("empty fields between words") << 1000 << 100 << ",\n ,\t,\r\n";
        QTest::newRow("quoted words") << 1000 << 100 << "\",\"";
        QTest::newRow("CRLF lines") << 3000 << 300 << "\r\n";
        QTest::newRow("commas and empty lines") << 3000 << 300 << ",\n\n";
    }

    void longLists() {
        QFETCH(int, shortWords);
        QFETCH(int, longWords);
        QFETCH(QString, between);
        QStringList expected;
        for (int i = 0; i < shortWords + longWords; ++i) {
            // Long words among the short ones, so marks fall on either kind.
            expected << (i % 11 == 0 && i / 11 < longWords
                             ? QString(200, QChar(u'a' + i % 26)) + QString::number(i)
                             : QStringLiteral("w%1").arg(i));
        }
        const bool quoted = between.startsWith(u'"');
        const QString text = (quoted ? "\"" : "") + expected.join(between) + (quoted ? "\"" : "\n");
        const vostrel::WordList list(text.toStdString());
        QCOMPARE(list.size(), static_cast<std::size_t>(expected.size()));
        QCOMPARE(joined(list), expected.join(u'|'));
        QCOMPARE(QString::fromStdString(std::string(list[list.size() - 1])), expected.last());
    }

    void indexOutOfRangeThrows() {
        const vostrel::WordList list(std::string("one\n"));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, (void)list[1]);
    }

    void decode_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QString bad(QChar(0xFFFD));

        QTest::newRow("ascii") << QByteArray("apple") << "apple";
        QTest::newRow("two-byte") << QByteArray("caf\xC3\xA9") << QString::fromUtf8("café");
        QTest::newRow("three-byte") << QByteArray("\xE6\x83\x85") << QString::fromUtf8("情");
        QTest::newRow("four-byte") << QByteArray("\xF0\x9F\x98\x80") << QString::fromUtf8("😀");
        QTest::newRow("stray continuation") << QByteArray("a\x80z") << "a" + bad + "z";
        QTest::newRow("truncated at end") << QByteArray("a\xE6\x83") << "a" + bad + bad;
        QTest::newRow("broken in the middle") << QByteArray("\xC3z") << bad + "z";
        QTest::newRow("overlong") << QByteArray("\xC0\xAF") << bad + bad;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << bad + bad + bad;
        QTest::newRow("beyond unicode") << QByteArray("\xF4\x90\x80\x80") << bad + bad + bad + bad;
        QTest::newRow("invalid lead") << QByteArray("\xFF") << bad;
    }

    void decode() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const std::u32string decoded =
            vostrel::decodeUtf8(std::string_view(bytes.constData(), bytes.size()));
        QCOMPARE(QString::fromUcs4(decoded.data(), static_cast<qsizetype>(decoded.size())), text);
    }
};

QTEST_APPLESS_MAIN(TestWordFile)
#include "tst_wordfile.moc"
