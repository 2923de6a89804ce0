#include "DocumentGallery.h"

#include <QFile>
#include <algorithm>
#include <nlohmann/json.hpp>

namespace
{

// Keeps the document's beginning within the bounds and counts the lines left out.
void boundLines(DocumentGallery::Document& document)
{
    qsizetype characters = 0;
    qsizetype kept = 0;
    for (; kept < document.lines.size() && kept < DocumentGallery::KeptLines; ++kept) {
        characters += document.lines[kept].size();
        if (characters > DocumentGallery::KeptCharacters)
            break;
    }
    document.linesLeftOut += int(document.lines.size() - kept);
    document.lines.resize(kept);
}

std::string text(const QString& value)
{
    return value.toStdString();
}

// A JSON text that an HTML parser can never take for markup, wherever it lands.
std::string escapedDump(const nlohmann::json& json)
{
    const std::string plain = json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::string escaped;
    escaped.reserve(plain.size());
    for (const char c : plain) {
        switch (c) {
        case '<':
            escaped += "\\u003c";
            break;
        case '>':
            escaped += "\\u003e";
            break;
        case '&':
            escaped += "\\u0026";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// The kept document with this id, from the gallery's printers as they are given, const or not.
template <typename Printers> auto* findKept(Printers& printers, quint64 id)
{
    using Kept = std::remove_reference_t<decltype(printers.front().documents.front())>;
    for (auto& printer : printers) {
        const auto found =
            std::lower_bound(printer.documents.begin(), printer.documents.end(), id,
                             [](const Kept& kept, quint64 wanted) { return kept.id < wanted; });
        if (found != printer.documents.end() && found->id == id)
            return &*found;
    }
    return static_cast<Kept*>(nullptr);
}

} // namespace

quint64 DocumentGallery::documentEnded(Document document)
{
    boundLines(document);
    auto printer = std::find_if(printers_.begin(), printers_.end(),
                                [&](const Printer& p) { return p.name == document.printer; });
    if (printer == printers_.end()) {
        // A printer seen least lately gives way, so that the page stays bounded.
        if (int(printers_.size()) >= KeptPrinters)
            printers_.erase(std::min_element(
                printers_.begin(), printers_.end(), [](const Printer& a, const Printer& b) {
                    return a.documents.back().id < b.documents.back().id;
                }));
        printers_.push_back(Printer{document.printer, {}});
        printer = std::prev(printers_.end());
    }
    std::vector<Picture> pictures = std::move(document.pictures);
    printer->documents.push_back(Kept{++latest_, std::move(document)});
    if (printer->documents.size() > std::size_t(KeptDocuments))
        printer->documents.pop_front();
    addPictures(latest_, std::move(pictures));
    return latest_;
}

quint64 DocumentGallery::documentEnded(const QString& printer,
                                       const VirtualPrinterOutput::EndedDocument& ended,
                                       std::vector<Picture> pictures)
{
    return documentEnded(Document{printer, ended.number, ended.from, ended.lines,
                                  ended.linesLeftOut, ended.settings, std::move(pictures)});
}

bool DocumentGallery::addPictures(quint64 id, std::vector<Picture> pictures)
{
    Kept* kept = findKept(printers_, id);
    if (kept == nullptr)
        return false;
    for (Picture& picture : pictures) {
        if (!(picture.path.isEmpty() && picture.png.isEmpty()) &&
            picture.png.size() <= KeptPictureBytes)
            kept->document.pictures.push_back(std::move(picture));
    }
    return true;
}

std::string DocumentGallery::updates(quint64 after) const
{
    nlohmann::json printers = nlohmann::json::array();
    for (const Printer& printer : printers_) {
        nlohmann::json documents = nlohmann::json::array();
        nlohmann::json kept = nlohmann::json::array();
        for (auto kept_ = printer.documents.rbegin(); kept_ != printer.documents.rend(); ++kept_) {
            kept.push_back(kept_->id);
            if (kept_->id <= after)
                continue;
            const Document& document = kept_->document;
            nlohmann::json lines = nlohmann::json::array();
            for (const QString& line : document.lines)
                lines.push_back(text(line));
            nlohmann::json pictures = nlohmann::json::array();
            for (std::size_t k = 0; k < document.pictures.size(); ++k)
                pictures.push_back("/documents/" + std::to_string(kept_->id) + "/picture-" +
                                   std::to_string(k) + ".png");
            documents.push_back({{"id", kept_->id},
                                 {"number", document.number},
                                 {"from", text(document.from)},
                                 {"lines", std::move(lines)},
                                 {"linesLeftOut", document.linesLeftOut},
                                 {"settings", text(document.settings)},
                                 {"pictures", std::move(pictures)}});
        }
        printers.push_back({{"name", text(printer.name)},
                            {"kept", std::move(kept)},
                            {"documents", std::move(documents)}});
    }
    return escapedDump({{"latest", latest_}, {"printers", std::move(printers)}});
}

std::optional<QByteArray> DocumentGallery::picture(quint64 id, int k) const
{
    const Kept* kept = findKept(printers_, id);
    if (kept == nullptr || k < 0 || std::size_t(k) >= kept->document.pictures.size())
        return std::nullopt;
    const Picture& picture = kept->document.pictures[std::size_t(k)];
    if (picture.path.isEmpty())
        return picture.png;
    QFile file(picture.path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > KeptPictureBytes)
        return std::nullopt;
    return file.readAll();
}
