#include "cli/WrapCommand.h"

#include "platform/CodePage.h"
#include "platform/FontService.h"
#include "platform/MeasuringCanvas.h"
#include "report/draw/TextWrap.h"

#include <cmath>
#include <iostream>
#include <memory>

namespace pv::cli {
namespace {

struct WrapArgs {
    std::string font = "Arial";
    double size = 10;
    int width = 100;
    bool wordBreak = false;
    int charSpacing = 0;
    std::string text;
};

// The marker byte is invisible on a terminal.
std::string shown(const std::string& line) {
    std::string out;
    for (char c : line)
        out += c == kParagraphEnd ? std::string("\xC2\xB6") : cp1251ToUtf8(std::string(1, c));
    return out;
}

void run(const WrapArgs& args) {
    MeasuringCanvas& canvas = MeasuringCanvas::shared();
    LogFont font;
    font.faceName = utf8ToCp1251(args.font);
    font.height = -int(std::nearbyint(args.size * 96 / 72));
    font.charSet = 204;
    canvas.SetFont(font);
    canvas.SetTextCharacterExtra(args.charSpacing);
    Lines lines;
    WrapLine(utf8ToCp1251(args.text), {args.width, args.wordBreak}, CanvasTextWidth(canvas), lines);
    canvas.SetTextCharacterExtra(0);
    for (const std::string& line : lines)
        std::cout << shown(line) << "\n";
}

} // namespace

void addWrapCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand("wrap", "Print the lines a word-wrapped text box makes");
    auto args = std::make_shared<WrapArgs>();
    command->add_option("--font", args->font, "Font face name")->capture_default_str();
    command->add_option("--size", args->size, "Font size in points")
        ->check(CLI::Range(1.0, 1000.0))
        ->capture_default_str();
    command->add_option("--width", args->width, "Available width in pixels")
        ->check(CLI::Range(0, 1000000))
        ->capture_default_str();
    command->add_flag("--wordbreak", args->wordBreak, "Cut words with Russian hyphenation");
    command->add_option("--charspacing", args->charSpacing, "Extra pixels after each character")
        ->check(CLI::Range(-100, 1000));
    command->add_option("TEXT", args->text, "The text (UTF-8)")->required();
    command->callback([args, &exitCode] {
        try {
            run(*args);
            exitCode = 0;
        } catch (const std::exception& e) { // no font installed, or anything unforeseen
            std::cerr << e.what() << "\n";
            exitCode = 2;
        }
    });
}

} // namespace pv::cli
