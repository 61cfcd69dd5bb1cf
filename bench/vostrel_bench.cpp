// Times what a player waits for at every Reset & Start: a whole new game on a large word list.
// Run from the `bench` preset: build/bench/bench/vostrel_bench
// With --write-words COUNT FILE it only writes a word list of COUNT words and exits.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdint>
#include <string>
#include <string_view>

#include "MainFace.h"
#include "services/Services.h"

namespace {

// Deterministic words of 4 to 14 lower-case letters, one a line: about 10 bytes a word.
std::string makeWordFile(std::int64_t words) {
    std::string out;
    out.reserve(static_cast<std::size_t>(words) * 10);
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (std::int64_t w = 0; w < words; ++w) {
        const std::uint32_t length = 4 + next() % 11;
        for (std::uint32_t i = 0; i < length; ++i) {
            out.push_back(static_cast<char>('a' + next() % 26));
        }
        out.push_back('\n');
    }
    return out;
}

// An application folder with the pictures and a word file, as the game finds it when installed.
const vostrel::Services kSystem = vostrel::systemServices();

class AppFolder {
public:
    explicit AppFolder(const std::string& words) {
        for (int stage = 0; stage <= 10; ++stage) {
            QImage image(200, 200, QImage::Format_RGB32);
            image.fill(Qt::white);
            image.save(dir_.filePath(QStringLiteral("%1.bmp").arg(stage)), "BMP");
        }
        QFile file(dir_.filePath(QStringLiteral("h_dat.txt")));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(words.data(), static_cast<qint64>(words.size())) !=
                static_cast<qint64>(words.size())) {
            qFatal("cannot write the word file");
        }
    }
    [[nodiscard]] std::string path() const { return dir_.path().toStdString(); }

private:
    QTemporaryDir dir_;
};

// Reset & Start in a loaded window: read, draw, and reset the controls.
void BM_NewGame(benchmark::State& state) {
    const AppFolder folder(makeWordFile(state.range(0)));
    vostrel::qt::MainFace window(kSystem, folder.path());
    window.load();
    for (auto _ : state) {
        window.form().CMD_RESET_Click();
    }
    if (window.form().isUnloaded()) {
        state.SkipWithError("the new game failed");
    }
}
BENCHMARK(BM_NewGame)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
    // bench/startup.sh starts the game on the same kind of list as the benchmarks use.
    if (argc == 4 && std::string_view(argv[1]) == "--write-words") {
        const std::string words = makeWordFile(std::stoll(argv[2]));
        QFile file(QString::fromLocal8Bit(argv[3]));
        return file.open(QIODevice::WriteOnly) &&
                       file.write(words.data(), static_cast<qint64>(words.size())) ==
                           static_cast<qint64>(words.size())
                   ? 0
                   : 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vostrel"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
