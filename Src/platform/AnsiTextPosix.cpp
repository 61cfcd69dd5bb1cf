#include "services/AnsiText.h"

namespace vostrel {
namespace {

// The system's strings are UTF-8 already, and it has no %NAME% references to expand.
class PosixAnsiText final : public AnsiText {
public:
    std::string toUtf8(std::string_view ansi) const override { return std::string(ansi); }
    std::string expandEnvironment(const std::string& utf8) const override { return utf8; }
};

}  // namespace

const AnsiText& systemAnsiText() {
    static const PosixAnsiText text;
    return text;
}

}  // namespace vostrel
