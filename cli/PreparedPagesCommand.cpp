#include "cli/PreparedPagesCommand.h"

#include "cli/BatchPreparation.h"
#include "cli/PreparedInput.h"
#include "cli/TemplateJson.h"
#include "platform/CodePage.h"
#include "report/prepared/PreparedPages.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/model/PictureView.h"
#include "report/template/Report.h"

#include <iostream>
#include <memory>

namespace pv::cli {
namespace {

using Json = nlohmann::ordered_json;

Json objectJson(const TfrView& v) {
    Json o;
    o["Class"] = viewClassName(v);
    o["Name"] = cp1251ToUtf8(v.Name);
    o["Left"] = v.Left;
    o["Top"] = v.Top;
    o["Width"] = v.Width;
    o["Height"] = v.Height;
    o["FrameTyp"] = v.FrameTyp;
    Json lines = Json::array();
    for (const auto& line : v.Memo)
        lines.push_back(cp1251ToUtf8(line));
    o["Memo"] = lines;
    if (auto* memo = dynamic_cast<const TfrMemoView*>(&v))
        o["Font"] = {{"Name", cp1251ToUtf8(memo->FontName)},
                     {"Size", memo->FontSize},
                     {"Style", memo->FontStyle},
                     {"Color", memo->FontColor},
                     {"Charset", memo->FontCharset}};
    if (auto* picture = dynamic_cast<const TfrPictureView*>(&v)) {
        Json p{{"Kind", picture->Picture.kind}, {"Bytes", picture->Picture.data.size()}};
        if (auto size = picture->Picture.size()) {
            p["PixelWidth"] = size->width;
            p["PixelHeight"] = size->height;
        }
        o["Picture"] = p;
    }
    return o;
}

Json pageJson(TfrEMFPages& pages, int index) {
    const PreparedPage& page = pages.Page(index);
    Json o;
    o["Size"] = page.size;
    o["PaperWidth"] = page.width;
    o["PaperHeight"] = page.height;
    o["PixelWidth"] = page.paperWidthPixels();
    o["PixelHeight"] = page.paperHeightPixels();
    o["Orientation"] = page.orientation;
    o["Bin"] = page.bin;
    o["UseMargins"] = page.useMargins != 0;
    o["Margins"] = {{"Left", page.leftMargin},
                    {"Top", page.topMargin},
                    {"Right", page.rightMargin},
                    {"Bottom", page.bottomMargin}};
    Json objects = Json::array();
    for (const auto& object : pages.Objects(index).Objects)
        objects.push_back(objectJson(*object));
    pages.DropObjects(index);
    o["Objects"] = objects;
    return o;
}

Json pagesJson(CommonOptions& options, const std::string& path) {
    TfrReport loaded;
    std::unique_ptr<HeadlessRun> run;
    TfrReport* report = &loaded;
    if (looksLikeText(path)) {
        options.apply();
        run = prepareBatch(options, path);
        report = run->prepared();
    } else {
        loadPreparedInput(loaded, path);
    }
    TfrEMFPages& pages = report->EMFPages();
    Json list = Json::array();
    for (int i = 0; i < pages.Count(); ++i)
        list.push_back(pageJson(pages, i));
    return Json{{"pages", list}};
}

} // namespace

void addPreparedPagesCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand(
        "pages", "Print the pages of a prepared report, or of a batch file's report, as JSON");
    auto input = std::make_shared<std::string>();
    auto options = std::make_shared<CommonOptions>();
    command->add_option("FILE", *input, "The prepared report (.frp) or batch file")->required();
    options->addTo(*command);
    command->callback([input, options, &exitCode] {
        try {
            const Json out = pagesJson(*options, *input);
            std::cout << out.dump(1) << "\n";
            exitCode = 0;
        } catch (const std::exception& e) {
            std::cerr << "pachka pages: " << e.what() << "\n";
            exitCode = 2;
        }
    });
}

} // namespace pv::cli
