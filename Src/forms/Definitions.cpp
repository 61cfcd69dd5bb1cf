#include "Definitions.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "AppInfo.h"

namespace vostrel::forms {
namespace {

constexpr Font kGothic{{"ＭＳ ゴシック", "MS Gothic", "IPAGothic"}, 18, true, Pitch::Fixed, true};
constexpr Font kPGothic{
    {"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic"}, 12, true, Pitch::Proportional, true};

// The letter buttons stand in three rows, 360 twips apart each way.
struct LetterRow {
    int first;
    int count;
    int left;
    int top;
};
constexpr std::array<LetterRow, 3> kLetterRows{{
    {0, 11, 3720, 2280},
    {11, 9, 4080, 2640},
    {20, 6, 4680, 3000},
}};
constexpr int kLetterPitch = 360;
constexpr int kLetterSide = 350;
// The focus walks from Exit through the letters in this order, then to Reset & Start.
constexpr std::string_view kLetterTabOrder = "lzyxwvutsrqponmkjihgfedcba";
constexpr const char* kLetterCaptions =
    "a\0b\0c\0d\0e\0f\0g\0h\0i\0j\0k\0l\0m\0n\0o\0p\0q\0r\0s\0t\0u\0v\0w\0x\0y\0z";

constexpr std::array<Control, 7> kMainControls{{
    {.id = Id::HUNG_PICT,
     .name = "HUNG_PICT",
     .kind = Kind::Picture,
     .rect = {480, 240, 3030, 3030},
     .tabIndex = 28,
     .border = Border::Flat,
     .ground = Ground::Window,
     .sizing = Sizing::ToPicture,
     .beneath = true},
    {.id = Id::WORD_LABEL,
     .name = "WORD_LABEL",
     .caption = "??????????",
     .rect = {4650, 360, 2055, 420},
     .tabIndex = 32,
     .font = &kGothic,
     .border = Border::Sunken,
     // Departure: the window colours, not title-bar text (docs/departures.md).
     .ground = Ground::Window,
     .centred = true,
     .vertical = Vertical::Middle,
     .sizing = Sizing::AroundCentre},
    {.id = Id::RESULT_LABEL,
     .name = "RESULT_LABEL",
     .caption = "LEFT 10",
     .rect = {4950, 960, 1455, 420},
     .tabIndex = 30,
     .font = &kGothic,
     .border = Border::Sunken,
     .ground = Ground::Window,
     .centred = true,
     .vertical = Vertical::Middle,
     .sizing = Sizing::AroundCentre},
    {.id = Id::Label1,
     .name = "Label1",
     .caption = "Select any letter  below",
     .rect = {4200, 1800, 3135, 255},
     .tabIndex = 31,
     .centred = true},
    {.id = Id::CMD_RESET,
     .name = "CMD_RESET",
     .kind = Kind::Button,
     .caption = "Reset & Start",
     .rect = {480, 3480, 3015, 375},
     .tabIndex = 27,
     // The ampersand joins two words here and marks no access key.
     .accessKeys = false},
    // Flat, with no border: an empty answer is a label of no width, and a long one lies over
    // what is beneath it, painted whole, in every toolkit alike.
    {.id = Id::ANSWER_LABEL,
     .name = "ANSWER_LABEL",
     .rect = {5640, 3480, 225, 360},
     .tabIndex = 29,
     .font = &kGothic,
     .ground = Ground::Window,
     .centred = true,
     .vertical = Vertical::Middle,
     .sizing = Sizing::AroundCentre},
    {.id = Id::cmdExit,
     .name = "cmdExit",
     .kind = Kind::Button,
     .caption = "Exit",
     .rect = {5760, 4320, 2055, 375},
     .tabIndex = 0},
}};

constexpr std::array<Control, kMainControls.size() + 26> mainControls() {
    std::array<Control, kMainControls.size() + 26> all{};
    std::copy(kMainControls.begin(), kMainControls.end(), all.begin());
    std::size_t next = kMainControls.size();
    for (const LetterRow& row : kLetterRows) {
        for (int column = 0; column < row.count; ++column) {
            const int index = row.first + column;
            const auto letter = static_cast<char>('a' + index);
            all[next++] = {
                .id = Id::CMD_ALPHA,
                .name = "CMD_ALPHA",
                .index = index,
                .kind = Kind::Button,
                .caption = kLetterCaptions + std::ptrdiff_t{2} * index,
                .rect = {row.left + kLetterPitch * column, row.top, kLetterSide, kLetterSide},
                .tabIndex = 1 + static_cast<int>(kLetterTabOrder.find(letter))};
        }
    }
    return all;
}

constexpr auto kAllMainControls = mainControls();

// The game window's controls arranged for a screen held upright, where the design's window is
// too wide: the picture and the labels above, the letters in rows of seven a thumb can reach,
// each 44 pixels, and Reset & Start and Exit beneath them. Only places and sizes differ.
constexpr TwipsRect uprightPlace(const Control& c) {
    constexpr int kKey = 660;    // 44 pixels
    constexpr int kPitch = 720;  // 48
    switch (c.id) {
        case Id::HUNG_PICT:
            return {1185, 120, 3030, 3030};
        case Id::WORD_LABEL:
            return {1665, 3270, 2070, 420};
        case Id::RESULT_LABEL:
            return {1965, 3780, 1470, 420};
        case Id::ANSWER_LABEL:
            return {2580, 4290, 240, 360};
        case Id::Label1:
            return {1125, 4740, 3150, 255};
        case Id::CMD_ALPHA: {
            const int row = c.index / 7;
            const int column = c.index % 7;
            const int left = row < 3 ? 210 : 930;  // the last row's five, centred
            return {left + kPitch * column, 5115 + kPitch * row, kKey, kKey};
        }
        case Id::CMD_RESET:
            return {120, 8115, 2520, kKey};
        case Id::cmdExit:
            return {2760, 8115, 2520, kKey};
        default:
            return c.rect;
    }
}

constexpr std::array<Control, kAllMainControls.size()> uprightControls() {
    std::array<Control, kAllMainControls.size()> all = kAllMainControls;
    for (Control& each : all) {
        each.rect = uprightPlace(each);
    }
    return all;
}

constexpr auto kUprightControls = uprightControls();

constexpr std::array<MenuItem, 4> kMainMenu{{
    {Id::mnuFile, "mnuFile", "File(&F)", -1},
    {Id::mnuFileExit, "mnuFileExit", "Exit(X)", 0},
    {Id::mnuHelp, "mnuHelp", "Help(&H)", -1},
    {Id::mnuHelpAbout, "mnuHelpAbout", "About(&A)", 2},
}};

constexpr std::array<Control, 5> kAboutControls{{
    {.id = Id::cmdOK,
     .name = "cmdOK",
     .kind = Kind::Button,
     .caption = "OK",
     .rect = {1080, 1200, 1380, 345},
     .tabIndex = 0,
     .isDefault = true,
     .isCancel = true},
    {.id = Id::picIcon,
     .name = "picIcon",
     .kind = Kind::Picture,
     .rect = {240, 240, 540, 540},
     .tabIndex = 1,
     .border = Border::Sunken,
     .sizing = Sizing::ToPicture,
     .image = Image::ProgramIcon},
    {.id = Id::cmdSysInfo,
     .name = "cmdSysInfo",
     .kind = Kind::Button,
     .caption = "ｼｽﾃﾑ情報(&S)...",
     .rect = {2520, 1200, 1380, 345},
     .tabIndex = 2},
    {.id = Id::lblTitle,
     .name = "lblTitle",
     .rect = {1050, 240, 1125, 240},
     .tabIndex = 3,
     .font = &kPGothic,
     .vertical = Vertical::Middle,
     .sizing = Sizing::FromLeft,
     .blackText = true},
    {.id = Id::lblVersion, .name = "lblVersion", .rect = {1440, 600, 1845, 225}, .tabIndex = 4},
}};

constexpr Form kMain{.name = "frmMain",
                     .caption = kAppTitle,
                     .clientWidth = 7980,
                     .clientHeight = 4845,
                     .frame = Frame::Sizable,
                     .minClientWidth = 7980,
                     .minClientHeight = 4845,
                     .controls = kAllMainControls,
                     .menu = kMainMenu};

constexpr Form kUpright{.name = "frmMain",
                        .caption = kAppTitle,
                        .clientWidth = 5400,
                        .clientHeight = 8910,
                        .frame = Frame::Sizable,
                        .minClientWidth = 5400,
                        .minClientHeight = 8910,
                        .controls = kUprightControls,
                        .menu = kMainMenu};

// Always at the same place on the screen, not centred on it or on the game.
constexpr Form kAbout{.name = "frmAbout",
                      .clientWidth = 4320,
                      .clientHeight = 1740,
                      .frame = Frame::FixedDialog,
                      .placedBySystem = false,
                      .left = 2340,
                      .top = 1935,
                      .inTaskbar = false,
                      .language = "ja",
                      .controls = kAboutControls};

}  // namespace

const Form& mainForm() {
    return kMain;
}

const Form& aboutForm() {
    return kAbout;
}

const Form& uprightMainForm() {
    return kUpright;
}

const Control& control(const Form& form, ControlRef ref) {
    const auto found = std::find_if(form.controls.begin(), form.controls.end(),
                                    [&](const Control& c) { return c.ref() == ref; });
    if (found == form.controls.end()) {
        throw std::out_of_range("no such control on this form");
    }
    return *found;
}

std::vector<const Control*> stackingOrder(const Form& form) {
    std::vector<const Control*> order;
    for (const Control& each : form.controls) {
        order.push_back(&each);
    }
    std::stable_partition(order.begin(), order.end(), [](const Control* c) { return c->beneath; });
    return order;
}

std::vector<ControlRef> readingOrder(const Form& form) {
    std::vector<const Control*> order;
    for (const Control& each : form.controls) {
        order.push_back(&each);
    }
    std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
        return a->rect.top != b->rect.top ? a->rect.top < b->rect.top : a->rect.left < b->rect.left;
    });
    std::vector<ControlRef> refs;
    refs.reserve(order.size());
    for (const Control* each : order) {
        refs.push_back(each->ref());
    }
    return refs;
}

bool isPicture(std::string_view bytes) {
    const auto number = [&](std::size_t at, std::size_t size) {
        std::uint32_t value = 0;
        for (std::size_t i = size; i-- > 0;) {
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        }
        return value;
    };
    if (bytes.size() < 26 || !bytes.starts_with("BM")) {
        return false;
    }
    // Every row of pixels the header claims lies within the file: a picture cut short is broken.
    const auto whole = [&](std::uint64_t width, std::uint64_t height, std::uint32_t bits) {
        const std::uint64_t row = (width * bits + 31) / 32 * 4;
        return number(10, 4) + row * height <= bytes.size();
    };
    const std::uint32_t header = number(14, 4);
    if (header == 12) {  // the oldest kind, with no compression
        const std::uint32_t bits = number(24, 2);
        return number(22, 2) == 1 && (bits == 1 || bits == 4 || bits == 8 || bits == 24) &&
               whole(number(18, 2), number(20, 2), bits);
    }
    if (header < 40 || bytes.size() < 34) {
        return false;
    }
    const auto side = [&](std::size_t at) {  // a negative height stands for rows stored top first
        return static_cast<std::uint64_t>(
            std::abs(static_cast<std::int64_t>(static_cast<std::int32_t>(number(at, 4)))));
    };
    constexpr std::uint32_t kPlain = 0;
    constexpr std::uint32_t kBitFields = 3;
    const std::uint32_t bits = number(28, 2);
    const std::uint32_t compression = number(30, 4);
    const bool plain = compression == kPlain && (bits == 1 || bits == 4 || bits == 8 ||
                                                 bits == 16 || bits == 24 || bits == 32);
    const bool fields = compression == kBitFields && (bits == 16 || bits == 32);
    return number(26, 2) == 1 && (plain || fields) && whole(side(18), side(22), bits);
}

}  // namespace vostrel::forms
