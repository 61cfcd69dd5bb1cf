#include <QtTest>

#include "FakeSystem.h"
#include "Rows.h"
#include "core/SysInfo.h"

namespace {

const std::string kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString kTool = "C:\\Tools\\msinfo32.exe";
const QString kFolder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const QString kFound = kFolder + "\\MSINFO32.EXE";
constexpr uint kAbsent = 0;
constexpr uint kBinary = 3;
constexpr uint kMultiSz = 7;

// A string as the system stores it, with its terminator.
QByteArray sz(const QString& text) {
    return text.toLatin1() + QByteArray(1, '\0');
}

std::string bytes(const QByteArray& data) {
    return {data.constData(), std::size_t(data.size())};
}

QStringList toList(const std::vector<std::string>& items) {
    QStringList list;
    for (const auto& item : items) {
        list << QString::fromStdString(item);
    }
    return list;
}

}  // namespace

// The system-information tool found through the registry, with every key opened read-only and
// closed again, whatever the values hold.
class TestSysInfo : public QObject {
    Q_OBJECT

private slots:
    void getKeyValue_data() {
        QTest::addColumn<uint>("type");  // kAbsent: no such value
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("value");

        const QByteArray a1023(1023, 'a');
        row("string with terminator", vostrel::kRegSz, sz(kTool), true, kTool);
        row("string without terminator", vostrel::kRegSz, kTool.toLatin1(), true, kTool);
        row("string in the ANSI code page", vostrel::kRegSz, QByteArray("C:\\Caf\xE9\0", 8), true,
            QString::fromUtf8("C:\\Café"));
        row("1,024 bytes with terminator", vostrel::kRegSz, a1023 + QByteArray(1, '\0'), true,
            QString(a1023));
        row("1,024 bytes without terminator", vostrel::kRegSz, a1023 + "b", true,
            QString(a1023 + "b"));
        row("1,025 bytes", vostrel::kRegSz, a1023 + "bc", false, QString());
        row("number 05 01 00 00", vostrel::kRegDword, QByteArray("\x05\x01\x00\x00", 4), true,
            "&h000105");
        row("expandable string", vostrel::kRegExpandSz, sz("%SystemRoot%\\system32\\msinfo32.exe"),
            true, "C:\\Windows\\system32\\msinfo32.exe");
        // Read, but no text the tool could be started from: what the caller had stays.
        row("binary", kBinary, kTool.toLatin1(), true, "left from before");
        row("multi-string", kMultiSz, sz(kTool) + QByteArray(1, '\0'), true, "left from before");
        row("value absent", kAbsent, QByteArray(), false, QString());
    }

    void getKeyValue() {
        QFETCH(uint, type);
        QFETCH(QByteArray, data);
        QFETCH(bool, ok);
        QFETCH(QString, value);
        FakeRegistry registry;
        registry.addKey(kToolKey);
        if (type != kAbsent) {
            registry.setValue(kToolKey, "PATH", type, bytes(data));
        }
        const FakeAnsiText text;
        std::string KeyVal = "left from before";
        QCOMPARE(vostrel::GetKeyValue(registry, text, vostrel::kHkeyLocalMachine, kToolKey, "PATH",
                                      KeyVal),
                 ok);
        QCOMPARE(QString::fromStdString(KeyVal), value);
        QCOMPARE(registry.stillOpen(), std::size_t(0));
        QCOMPARE(registry.badCloses, 0);
    }

    void startSysInfo_data() {
        QTest::addColumn<uint>("pathType");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<uint>("folderType");
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<bool>("folderHoldsTool");
        QTest::addColumn<QStringList>("attempts");  // programs the launcher tried to start
        QTest::addColumn<QStringList>("tested");    // files it looked for
        QTest::addColumn<bool>("started");

        const auto sz_ = vostrel::kRegSz;
        const QString gone = "C:\\Gone\\msinfo32.exe";
        const QStringList none = {};
        row("path names the tool: started without a file test", sz_, sz(kTool), sz_, sz(kFolder),
            true, QStringList{kTool}, none, true);
        row("path names a missing file: no second lookup", sz_, sz(gone), sz_, sz(kFolder), true,
            QStringList{gone}, none, false);
        row("path absent, folder holds the tool", kAbsent, QByteArray(), sz_, sz(kFolder), true,
            QStringList{kFound}, QStringList{kFound}, true);
        row("path absent, folder lacks the tool", kAbsent, QByteArray(), sz_, sz(kFolder), false,
            none, QStringList{kFound}, false);
        row("both absent", kAbsent, QByteArray(), kAbsent, QByteArray(), false, none, none, false);
        row("path of another type: the message, no second lookup", kBinary, kTool.toLatin1(), sz_,
            sz(kFolder), true, none, none, false);
        row("path with no data: the message, no second lookup", sz_, QByteArray(), sz_, sz(kFolder),
            true, none, none, false);
        row("path absent, folder with no data", kAbsent, QByteArray(), sz_, QByteArray(), true,
            none, none, false);
    }

    void startSysInfo() {
        QFETCH(uint, pathType);
        QFETCH(QByteArray, path);
        QFETCH(uint, folderType);
        QFETCH(QByteArray, folder);
        QFETCH(bool, folderHoldsTool);
        QFETCH(QStringList, attempts);
        QFETCH(QStringList, tested);
        QFETCH(bool, started);

        FakeSystem system;
        system.registry.addKey(kToolKey);  // as a fresh system has it, without values
        if (pathType != kAbsent) {
            system.registry.setValue(kToolKey, "PATH", pathType, bytes(path));
        }
        if (folderType != kAbsent) {
            system.registry.setValue(kFolderKey, "MSINFO", folderType, bytes(folder));
        }
        if (folderHoldsTool) {
            system.files.add(kFound.toStdString(), "MZ");
        }
        system.programs.programs = {kTool.toStdString(), kFound.toStdString()};

        const auto result = vostrel::StartSysInfo(system.services);
        QCOMPARE(result == vostrel::SysInfoResult::Started, started);
        QCOMPARE(toList(system.programs.attempts), attempts);
        QCOMPARE(toList(system.files.tested), tested);
        QCOMPARE(system.registry.stillOpen(), std::size_t(0));
        QCOMPARE(system.registry.badCloses, 0);
    }
};

QTEST_APPLESS_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
