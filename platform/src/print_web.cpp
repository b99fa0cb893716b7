// print_web.cpp - the printing module of the web build (print_module.h),
// linked in rather than loaded: documents become PDF files, each page a
// sheet with its pictures as images (zlib-compressed RGB, the pixels as
// printed). The print dialog's place is taken by the browser's download: a
// document printed without GRAPHICS_PRINT_FILE is offered as TITLE.pdf. A
// PDF file named by GRAPHICS_PRINT_FILE (or a document's own output file)
// is written into the program's file system. There are no print queues.
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "printing/print_module.h"
#include "safe_files.h"

extern "C" void kiva_download(const char* name, const unsigned char* data, int size, const char* type);

namespace platform {
namespace {

// A PDF document built in memory, object by object.
class PdfDocument {
public:
    void AddPage(const PageGeometry& page, const std::vector<Placement>& placements) {
        std::string content;
        std::string resources;
        const double unit = 72.0 / page.dpi;
        for (size_t i = 0; i < placements.size(); ++i) {
            const Placement& p = placements[i];
            if (p.pixels.width <= 0 || p.pixels.height <= 0) continue;
            std::vector<unsigned char> rgb;
            rgb.reserve(static_cast<size_t>(p.pixels.width) * p.pixels.height * 3);
            for (int y = 0; y < p.pixels.height; ++y) {
                const uint32_t* row = p.pixels.Row(y);
                for (int x = 0; x < p.pixels.width; ++x)
                    rgb.insert(rgb.end(), {static_cast<unsigned char>(row[x] >> 16),
                                           static_cast<unsigned char>(row[x] >> 8), static_cast<unsigned char>(row[x])});
            }
            uLongf size = compressBound(static_cast<uLong>(rgb.size()));
            std::string packed(size, '\0');
            compress2(reinterpret_cast<Bytef*>(&packed[0]), &size, rgb.data(), static_cast<uLong>(rgb.size()), 6);
            packed.resize(size);
            int image = Add("<< /Type /XObject /Subtype /Image /Width " + std::to_string(p.pixels.width) +
                                " /Height " + std::to_string(p.pixels.height) +
                                " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode /Length " +
                                std::to_string(packed.size()) + " >>",
                            packed);
            std::string name = "/Im" + std::to_string(i);
            resources += name + " " + std::to_string(image) + " 0 R ";
            // The image's unit square onto the placement's rectangle, mirrored
            // as the transfer asked; PDF's y axis points up.
            double w = p.width * unit, h = p.height * unit;
            double x = page.leftPt + p.x * unit, y = page.paperHeightPt - page.topPt - (p.y + p.height) * unit;
            char matrix[160];
            std::snprintf(matrix, sizeof matrix, "q %.4f 0 0 %.4f %.4f %.4f cm %s Do Q\n", p.mirrorX ? -w : w,
                          p.mirrorY ? -h : h, p.mirrorX ? x + w : x, p.mirrorY ? y + h : y, name.c_str());
            content += matrix;
        }
        int stream = Add("<< /Length " + std::to_string(content.size()) + " >>", content);
        char box[96];
        std::snprintf(box, sizeof box, "[0 0 %.4f %.4f]", page.paperWidthPt, page.paperHeightPt);
        pages_.push_back(Add("<< /Type /Page /Parent 2 0 R /MediaBox " + std::string(box) +
                             " /Resources << /XObject << " + resources + ">> >> /Contents " +
                             std::to_string(stream) + " 0 R >>"));
    }

    std::string Finish(const std::string& title) {
        std::string kids;
        for (int page : pages_) kids += std::to_string(page) + " 0 R ";
        objects_[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages_.size()) + " >>";
        std::string escaped;
        for (char c : title) {
            if (c == '(' || c == ')' || c == '\\') escaped += '\\';
            escaped += c;
        }
        int info = Add("<< /Title (" + escaped + ") /Producer (kiva) >>");
        std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
        std::vector<size_t> offsets;
        for (size_t i = 0; i < objects_.size(); ++i) {
            offsets.push_back(out.size());
            out += std::to_string(i + 1) + " 0 obj\n" + objects_[i] + "\nendobj\n";
        }
        size_t xref = out.size();
        out += "xref\n0 " + std::to_string(objects_.size() + 1) + "\n0000000000 65535 f \n";
        for (size_t offset : offsets) {
            char line[24];
            std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
            out += line;
        }
        out += "trailer\n<< /Size " + std::to_string(objects_.size() + 1) + " /Root 1 0 R /Info " +
               std::to_string(info) + " 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
        return out;
    }

private:
    int Add(const std::string& dictionary, const std::string& stream = std::string(), bool isStream = false) {
        std::string object = dictionary;
        if (!stream.empty() || isStream) object += "\nstream\n" + stream + "\nendstream";
        objects_.push_back(object);
        return static_cast<int>(objects_.size());
    }
    // Objects 1 and 2: the catalogue and the page tree.
    std::vector<std::string> objects_ = {"<< /Type /Catalog /Pages 2 0 R >>", ""};
    std::vector<int> pages_;
};

// A document as a PDF file in the program's file system, or offered as a
// download when `path` is empty.
class PdfOutput : public PrintOutput {
public:
    explicit PdfOutput(std::string path) : path_(std::move(path)) {}
    bool BeginDocument(const PageGeometry&, const std::string& title, std::string&) override {
        document_ = PdfDocument();
        title_ = title;
        return true;
    }
    bool EndPage(const PageGeometry& page, const std::vector<Placement>& placements, std::string&) override {
        document_.AddPage(page, placements);
        return true;
    }
    bool EndDocument(std::string& reason) override {
        std::string pdf = document_.Finish(title_);
        if (path_.empty()) {
            std::string name = title_.empty() ? "print" : title_;
            for (char& c : name)
                if (c == '/' || c == '\\') c = '_';
            kiva_download((name + ".pdf").c_str(), reinterpret_cast<const unsigned char*>(pdf.data()),
                          static_cast<int>(pdf.size()), "application/pdf");
            return true;
        }
        kiva_files::FileReplacement file;
        if (!file.Begin(path_, reason) || !file.Write(pdf.data(), pdf.size(), reason) || !file.Commit(reason))
            return false;
        return true;
    }

private:
    std::string path_;
    std::string title_;
    PdfDocument document_;
};

std::unique_ptr<PrintOutput> NewPdf(const std::string& path) { return std::make_unique<PdfOutput>(path); }

PageGeometry A4() {
    const double mm = 72.0 / 25.4;
    return MakePage(210 * mm, 297 * mm, 0, 0, 0, 0, 300);
}

bool NoQueue(const std::string&, PageGeometry&, std::string& reason) {
    reason = "a web page has no print queues";
    return false;
}

std::unique_ptr<PrintOutput> NoQueueOutput(const std::string&) { return nullptr; }

// The dialog's choice: an A4 sheet, downloaded as a PDF file.
DialogOutcome Download(const DialogOwner&, PageGeometry& page, std::unique_ptr<PrintOutput>& output, std::string&) {
    page = A4();
    output = NewPdf(std::string());
    return DialogOutcome::Chosen;
}

}  // namespace
}  // namespace platform

extern "C" const platform::PrintModule* kiva_print_module() {
    static const platform::PrintModule module = {
        platform::NewPdf, platform::A4, platform::NoQueue, platform::NoQueueOutput, platform::Download,
    };
    return &module;
}
