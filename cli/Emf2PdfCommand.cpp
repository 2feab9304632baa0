#include "cli/Emf2PdfCommand.h"

#include "pdf/MetafileTranslator.h"
#include "pdf/EmfPageTranslator.h"
#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"
#include "platform/EmfReader.h"
#include "platform/FileBytes.h"
#include "platform/FontService.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

namespace pv::cli {

namespace {

struct Emf2PdfOptions {
    std::vector<std::string> inputs;
    std::string output;
    bool compress = false;
    std::string ownerPassword, userPassword;
    std::vector<std::string> permissions;
    bool permissionsGiven = false;
    bool autoUrl = false;
    int resolution = 72;
};

// Hands the page the bytes of a metafile file as if they had been recorded on it.
class FileRecording : public PageRecording {
public:
    explicit FileRecording(std::string bytes) : bytes_(std::move(bytes)) {}
    void Resize(int, int) override {}
    std::string Finish() override { return std::move(bytes_); }

private:
    std::string bytes_;
};

class FileRecordingFactory : public PageRecordingFactory {
public:
    std::string next;
    std::unique_ptr<PageRecording> Create(int, int) override {
        return std::make_unique<FileRecording>(std::move(next));
    }
};

std::string readInput(const std::string& path) {
    std::optional<std::string> bytes = readFileBytes(path);
    if (!bytes) throw std::runtime_error("cannot read " + path);
    return std::move(*bytes);
}

// The page size in device units from the metafile's frame (hundredths of a
// millimetre); the drawn bounds when the frame is empty.
std::pair<int, int> pageSize(const std::string& metafile, int resolution) {
    const EmfReader reader(
        std::span(reinterpret_cast<const std::uint8_t*>(metafile.data()), metafile.size()));
    const EmfRect& frame = reader.header().frame;
    const double perHundredthMm = resolution / 2540.0;
    int width = int(std::lround((frame.right - frame.left) * perHundredthMm));
    int height = int(std::lround((frame.bottom - frame.top) * perHundredthMm));
    if (width < 1 || height < 1) {
        const auto bounds =
            metafileFrame(metafile, resolution / double(ReferenceDevice::screen().pixelsPerInch));
        width = bounds.right;
        height = bounds.bottom;
    }
    if (width < 1 || height < 1) throw std::runtime_error("the metafile has no size");
    return {width, height};
}

TPDFCtiptoOptions permissionSet(const std::vector<std::string>& names) {
    TPDFCtiptoOptions set = 0;
    for (const std::string& name : names) {
        if (name == "print")
            set |= setOf(coPrint);
        else if (name == "modify")
            set |= setOf(coModifyStructure);
        else if (name == "copy")
            set |= setOf(coCopyInformation);
        else if (name == "annotate")
            set |= setOf(coModifyAnnotation);
    }
    return set;
}

void convert(const Emf2PdfOptions& o) {
    FontService& fonts = FontService::shared();
    FileRecordingFactory recordings;
    EmfPageTranslator translator(fonts);
    TPDFDocument doc;
    doc.SetAutoLaunch(false);
    doc.SetResolution(o.resolution);
    doc.SetCompression(o.compress ? ctFlate : ctNone);
    doc.SetAutoCreateURL(o.autoUrl);
    if (!o.ownerPassword.empty() || !o.userPassword.empty() || o.permissionsGiven) {
        doc.SetProtectionEnabled(true);
        doc.SetOwnerPassword(o.ownerPassword);
        doc.SetUserPassword(o.userPassword);
        doc.SetProtectionOptions(permissionSet(o.permissions));
    }
    doc.SetRecordingFactory(&recordings);
    doc.SetTranslator(&translator);
    doc.SetFileName(o.output);
    std::vector<std::string> metafiles;
    for (const std::string& path : o.inputs)
        metafiles.push_back(readInput(path));
    // A page is translated when the next page starts or the document ends, so
    // a failure belongs to the page before the one being started.
    std::size_t translating = 0;
    try {
        for (std::size_t i = 0; i < metafiles.size(); ++i) {
            translating = i;
            const auto [width, height] = pageSize(metafiles[i], o.resolution);
            recordings.next = metafiles[i];
            if (i == 0) {
                doc.BeginDoc();
            } else {
                translating = i - 1;
                doc.NewPage();
            }
            doc.CurrentPage()->SetWidth(width);
            doc.CurrentPage()->SetHeight(height);
            translating = i;
        }
        doc.EndDoc();
    } catch (const std::exception& e) {
        if (doc.Generating()) doc.Abort();
        throw std::runtime_error(o.inputs[translating] + ": " + e.what());
    }
}

} // namespace

void addEmf2PdfCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand("emf2pdf", "Translate enhanced metafiles into a PDF file");
    auto o = std::make_shared<Emf2PdfOptions>();
    command->add_option("IN", o->inputs, "Metafiles, one page each")->required();
    command->add_option("-o,--output", o->output, "The PDF file to write")->required();
    command->add_flag("--compress", o->compress, "Deflate the page contents");
    command->add_option("--owner-password", o->ownerPassword, "Encrypt with this owner password");
    command->add_option("--user-password", o->userPassword, "Encrypt with this user password");
    auto* permissions =
        command
            ->add_option("--permissions", o->permissions,
                         "What an encrypted file allows: print,modify,copy,annotate")
            ->delimiter(',')
            ->check(CLI::IsMember({"print", "modify", "copy", "annotate"}));
    command->add_flag("--auto-url", o->autoUrl, "Make links of the addresses in the text");
    command->add_option("--resolution", o->resolution, "Device units per inch of the pages")
        ->check(CLI::Range(1, 2400));
    command->callback([o, permissions, &exitCode] {
        o->permissionsGiven = permissions->count() > 0;
        try {
            convert(*o);
            exitCode = 0;
        } catch (const std::exception& e) {
            std::cerr << "pachka emf2pdf: " << e.what() << "\n";
            exitCode = 2;
        }
    });
}

} // namespace pv::cli
