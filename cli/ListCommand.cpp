#include <iostream>
#include <sstream>

#include "base/Text.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/OpenedArchive.h"

namespace brasvel::cli {
namespace {

void printText(const OpenedArchive& archive, std::ostream& out) {
    const CatalogueModel& model = *archive.model;
    for (std::size_t row = 0; row < archive.window.rows.size(); ++row) {
        const CatalogueEntry& entry = model.Catalogue[model.ViewOrder[row]];
        const std::int32_t stored = entry.PackedSize != 0 ? entry.PackedSize : entry.Size;
        out << decodeWindows1250(archive.window.rows[row].shownCaption()) << '\t' << entry.Size
            << '\t' << stored << '\t' << entry.Offset << '\n';
    }
    out << "Total Files: " << model.EntryCount << '\n';
}

void printJson(const OpenedArchive& archive, std::ostream& out) {
    const CatalogueModel& model = *archive.model;
    out << "{\"kind\":" << jsonString(kindName(model.Kind)) << ",\"total\":" << model.EntryCount
        << ",\"rows\":[";
    for (std::size_t row = 0; row < archive.window.rows.size(); ++row) {
        const std::uint16_t number = model.ViewOrder[row];
        const CatalogueEntry& entry = model.Catalogue[number];
        out << (row == 0 ? "" : ",") << "{\"row\":" << row << ",\"entry\":" << number
            << ",\"caption\":"
            << jsonString(decodeWindows1250(archive.window.rows[row].shownCaption()))
            << ",\"name\":" << jsonString(shownText(entry.Name.view()))
            << ",\"ext\":" << jsonString(shownText(entry.Ext.view()))
            << ",\"offset\":" << entry.Offset << ",\"size\":" << entry.Size
            << ",\"packed_size\":" << entry.PackedSize
            << ",\"image\":" << archive.window.rows[row].image << "}";
    }
    out << "]}\n";
}

}  // namespace

int listCommand(const std::vector<std::string>& args) {
    const Arguments arguments(args, {"--kind", "--type"}, {"--json"});
    if (arguments.positional().size() != 1) {
        throw UsageError("list takes one archive");
    }
    OpenedArchive archive;
    archive.path = arguments.positional()[0];
    const ArchiveKind kind = chooseKind(archive.path, arguments.value("--kind"));
    std::optional<int> typeItem;
    if (auto item = arguments.value("--type")) {
        typeItem = chooseTypeItem(*item);
    }
    // Listing 15011 rows goes through one buffer, written at once.
    std::ostringstream out;
    int exitCode = kExitDone;
    try {
        openArchiveView(archive, kind, typeItem, std::cerr);
    } catch (const ResourceError& error) {
        std::cerr << archive.path << ": " << error.describe() << '\n';
        exitCode = kExitUnusable;
    }
    if (arguments.has("--json")) {
        printJson(archive, out);
    } else {
        printText(archive, out);
    }
    std::cout << out.str();
    return exitCode;
}

}  // namespace brasvel::cli
