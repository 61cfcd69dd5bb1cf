#include <QtTest>

#include "FakeFileSystem.h"
#include "FakeProgramStart.h"
#include "FakeRegistry.h"
#include "core/SysInfo.h"

namespace {

const std::string kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString kTool = "C:\\Tools\\msinfo32.exe";
const QString kFolder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const QString kFound = kFolder + "\\MSINFO32.EXE";
constexpr uint kAbsent = 0;

// A string as the system stores it, with its terminator.
QByteArray sz(const QString& text) {
    return text.toLatin1() + QByteArray(1, '\0');
}

std::string bytes(const QByteArray& data) {
    return std::string(data.constData(), std::size_t(data.size()));
}

QStringList toList(const std::vector<std::string>& items) {
    QStringList list;
    for (const auto& item : items) {
        list << QString::fromStdString(item);
    }
    return list;
}

// The file services, keeping every path tested.
class TestedFiles final : public vostrel::FileSystem {
public:
    FakeFileSystem files;
    mutable std::vector<std::string> tested;

    bool isNormalFile(const std::string& path) const override {
        tested.push_back(path);
        return files.isNormalFile(path);
    }
    vostrel::ReadStatus readRegularFile(const std::string& path, std::size_t maxBytes,
                                        vostrel::FileBytes& out) const override {
        return files.readRegularFile(path, maxBytes, out);
    }
};

// Every key opened read-only, and closed once.
void checkKeys(const FakeRegistry& registry) {
    for (const std::uint32_t access : registry.accessAsked) {
        QCOMPARE(access, vostrel::kKeyRead);
    }
    QCOMPARE(registry.stillOpen(), std::size_t(0));
    QCOMPARE(registry.badCloses, 0);
}

}  // namespace

class TestSysInfo : public QObject {
    Q_OBJECT

private slots:
    void getKeyValue_data() {
        QTest::addColumn<bool>("keyPresent");
        QTest::addColumn<uint>("type");  // kAbsent: no such value
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("value");

        const QByteArray path("C:\\Tools\\msinfo32.exe");
        const QByteArray a1023(1023, 'a');
        QTest::newRow("string with terminator")
            << true << vostrel::kRegSz << sz(kTool) << true << kTool;
        QTest::newRow("string without terminator")
            << true << vostrel::kRegSz << path << true << kTool;
        QTest::newRow("string in the ANSI code page")
            << true << vostrel::kRegSz << QByteArray("C:\\Caf\xE9\0", 8) << true
            << QString::fromUtf8("C:\\Café");
        QTest::newRow("only a terminator")
            << true << vostrel::kRegSz << QByteArray(1, '\0') << true << QString();
        QTest::newRow("1,024 bytes with terminator")
            << true << vostrel::kRegSz << a1023 + QByteArray(1, '\0') << true << QString(a1023);
        QTest::newRow("1,024 bytes without terminator")
            << true << vostrel::kRegSz << a1023 + "b" << true << QString(a1023 + "b");
        QTest::newRow("1,025 bytes")
            << true << vostrel::kRegSz << a1023 + "bc" << false << QString();
        QTest::newRow("number 05 01 00 00")
            << true << vostrel::kRegDword << QByteArray("\x05\x01\x00\x00", 4) << true
            << "&h000105";
        QTest::newRow("number 78 56 34 12")
            << true << vostrel::kRegDword << QByteArray("\x78\x56\x34\x12", 4) << true
            << "&h12345678";
        QTest::newRow("expandable string")
            << true << vostrel::kRegExpandSz << sz("%SystemRoot%\\system32\\msinfo32.exe") << true
            << "C:\\Windows\\system32\\msinfo32.exe";
        QTest::newRow("binary") << true << vostrel::kRegBinary << path << false << QString();
        QTest::newRow("multi-string") << true << vostrel::kRegMultiSz
                                      << sz(kTool) + QByteArray(1, '\0') << false << QString();
        QTest::newRow("string with no data")
            << true << vostrel::kRegSz << QByteArray() << false << QString();
        QTest::newRow("number with no data")
            << true << vostrel::kRegDword << QByteArray() << false << QString();
        QTest::newRow("value absent") << true << kAbsent << QByteArray() << false << QString();
        QTest::newRow("key absent") << false << kAbsent << QByteArray() << false << QString();
    }

    void getKeyValue() {
        QFETCH(bool, keyPresent);
        QFETCH(uint, type);
        QFETCH(QByteArray, data);
        QFETCH(bool, ok);
        QFETCH(QString, value);

        FakeRegistry registry;
        if (keyPresent) {
            registry.addKey(kToolKey);
        }
        if (type != kAbsent) {
            registry.setValue(kToolKey, "PATH", type, bytes(data));
        }
        const FakeAnsiText text;
        std::string KeyVal = "left from before";
        QCOMPARE(vostrel::GetKeyValue(registry, text, vostrel::kHkeyLocalMachine, kToolKey, "PATH",
                                      KeyVal),
                 ok);
        QCOMPARE(QString::fromStdString(KeyVal), value);
        QCOMPARE(registry.accessAsked.size(), std::size_t(1));
        QCOMPARE(registry.closes, keyPresent ? 1 : 0);
        checkKeys(registry);
    }

    void startSysInfo_data() {
        QTest::addColumn<uint>("pathType");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<uint>("folderType");
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QStringList>("files");     // normal files on the system
        QTest::addColumn<QStringList>("programs");  // files that start
        QTest::addColumn<bool>("started");
        QTest::addColumn<QStringList>("attempts");
        QTest::addColumn<QStringList>("tested");
        QTest::addColumn<int>("lookups");

        const auto sz_ = vostrel::kRegSz;
        const QByteArray folder = sz(kFolder);
        const QString gone = "C:\\Gone\\msinfo32.exe";
        const QString windows = "C:\\Windows\\system32\\msinfo32.exe";
        const QString windowsFound = "C:\\Windows\\system32\\MSINFO32.EXE";

        QTest::newRow("path names the tool: started without a file test")
            << sz_ << sz(kTool) << sz_ << folder << QStringList{kFound}
            << QStringList{kTool, kFound} << true << QStringList{kTool} << QStringList{} << 1;
        QTest::newRow("path names a missing file: message, no second lookup")
            << sz_ << sz(gone) << sz_ << folder << QStringList{kFound} << QStringList{kFound}
            << false << QStringList{gone} << QStringList{} << 1;
        QTest::newRow("path is an empty text: message, no second lookup")
            << sz_ << QByteArray(1, '\0') << sz_ << folder << QStringList{kFound}
            << QStringList{kFound} << false << QStringList{QString()} << QStringList{} << 1;
        QTest::newRow("path absent, folder holds the tool")
            << kAbsent << QByteArray() << sz_ << folder << QStringList{kFound}
            << QStringList{kFound} << true << QStringList{kFound} << QStringList{kFound} << 2;
        QTest::newRow("path absent, folder lacks the tool")
            << kAbsent << QByteArray() << sz_ << folder << QStringList{} << QStringList{} << false
            << QStringList{} << QStringList{kFound} << 2;
        QTest::newRow("path absent, the tool does not start")
            << kAbsent << QByteArray() << sz_ << folder << QStringList{kFound} << QStringList{}
            << false << QStringList{kFound} << QStringList{kFound} << 2;
        QTest::newRow("both absent")
            << kAbsent << QByteArray() << kAbsent << QByteArray() << QStringList{} << QStringList{}
            << false << QStringList{} << QStringList{} << 2;
        QTest::newRow("path of another type: the folder is tried")
            << vostrel::kRegBinary << kTool.toLatin1() << sz_ << folder << QStringList{kFound}
            << QStringList{kFound} << true << QStringList{kFound} << QStringList{kFound} << 2;
        QTest::newRow("path with no data: the folder is tried")
            << sz_ << QByteArray() << sz_ << folder << QStringList{kFound} << QStringList{kFound}
            << true << QStringList{kFound} << QStringList{kFound} << 2;
        QTest::newRow("path of 1,025 bytes: the folder is tried")
            << sz_ << QByteArray(1025, 'a') << sz_ << folder << QStringList{kFound}
            << QStringList{kFound} << true << QStringList{kFound} << QStringList{kFound} << 2;
        QTest::newRow("expandable path")
            << vostrel::kRegExpandSz << sz("%SystemRoot%\\system32\\msinfo32.exe") << kAbsent
            << QByteArray() << QStringList{} << QStringList{windows} << true << QStringList{windows}
            << QStringList{} << 1;
        QTest::newRow("path absent, expandable folder")
            << kAbsent << QByteArray() << vostrel::kRegExpandSz << sz("%SystemRoot%\\system32")
            << QStringList{windowsFound} << QStringList{windowsFound} << true
            << QStringList{windowsFound} << QStringList{windowsFound} << 2;
        QTest::newRow("path absent, folder with no data")
            << kAbsent << QByteArray() << sz_ << QByteArray() << QStringList{kFound}
            << QStringList{kFound} << false << QStringList{} << QStringList{} << 2;
    }

    void startSysInfo() {
        QFETCH(uint, pathType);
        QFETCH(QByteArray, path);
        QFETCH(uint, folderType);
        QFETCH(QByteArray, folder);
        QFETCH(QStringList, files);
        QFETCH(QStringList, programs);
        QFETCH(bool, started);
        QFETCH(QStringList, attempts);
        QFETCH(QStringList, tested);
        QFETCH(int, lookups);

        FakeRegistry registry;
        registry.addKey(kToolKey);  // as a fresh system has it, without values
        if (pathType != kAbsent) {
            registry.setValue(kToolKey, "PATH", pathType, bytes(path));
        }
        if (folderType != kAbsent) {
            registry.setValue(kFolderKey, "MSINFO", folderType, bytes(folder));
        }
        const FakeAnsiText text;
        TestedFiles fileSystem;
        for (const QString& file : files) {
            fileSystem.files.addFile(file.toStdString(), "MZ");
        }
        FakeProgramStart starter;
        for (const QString& program : programs) {
            starter.programs.insert(program.toStdString());
        }

        const auto result = vostrel::StartSysInfo({registry, text, fileSystem, starter});
        QCOMPARE(result == vostrel::SysInfoResult::Started, started);
        QCOMPARE(toList(starter.attempts), attempts);
        for (const int style : starter.styles) {
            QCOMPARE(style, vostrel::kShowNormal);
        }
        QCOMPARE(toList(fileSystem.tested), tested);
        QCOMPARE(registry.opened.size(), std::size_t(lookups));
        checkKeys(registry);
    }

    void thrownErrorEndsInTheMessage() {
        FakeRegistry registry;
        registry.setValue(kToolKey, "PATH", vostrel::kRegSz, bytes(sz(kTool)));
        registry.setValue(kFolderKey, "MSINFO", vostrel::kRegSz, bytes(sz(kFolder)));
        FakeAnsiText text;
        text.fail = true;
        TestedFiles fileSystem;
        FakeProgramStart starter;
        starter.programs.insert(kTool.toStdString());

        QCOMPARE(vostrel::StartSysInfo({registry, text, fileSystem, starter}),
                 vostrel::SysInfoResult::Unavailable);
        QVERIFY(starter.attempts.empty());
        QCOMPARE(registry.opened.size(), std::size_t(1));
        QCOMPARE(registry.closes, 1);
        checkKeys(registry);
    }
};

QTEST_APPLESS_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
