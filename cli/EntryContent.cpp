#include "cli/EntryContent.h"

#include <libdeflate.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <memory>

#include "catalogue/Text.h"

namespace brasvel::cli {

std::vector<std::byte> localEntryContent(Bytes archive, ArchiveKind kind,
                                         const CatalogueEntry& entry) {
    if (entry.Offset < 0 || entry.Size < 0 || entry.PackedSize < 0) {
        throw damaged("negative offset or size in the directory entry");
    }
    const bool packed = kind == ArchiveKind::Lod && entry.PackedSize != 0;
    const auto storedSize = static_cast<std::uint64_t>(packed ? entry.PackedSize : entry.Size);
    const Bytes stored =
        ByteReader(archive, static_cast<std::uint64_t>(entry.Offset)).bytes(storedSize);
    if (!packed) {
        return {stored.begin(), stored.end()};
    }
    std::vector<std::byte> content(static_cast<std::size_t>(entry.Size));
    const std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)>
        inflater(libdeflate_alloc_decompressor(), &libdeflate_free_decompressor);
    if (!inflater) {
        throw ResourceError("Out of memory", "cannot make a decompressor");
    }
    // Exactly Size bytes: a stream that inflates to more or fewer is damaged.
    const libdeflate_result result = libdeflate_zlib_decompress(
        inflater.get(), stored.data(), stored.size(), content.data(), content.size(), nullptr);
    if (result != LIBDEFLATE_SUCCESS) {
        throw damaged("the compressed entry does not inflate to its " + std::to_string(entry.Size) +
                      " bytes");
    }
    return content;
}

std::optional<std::uint16_t> findEntryByCaption(const OpenedArchive& archive,
                                                const std::string& fileName) {
    for (std::size_t row = 0; row < archive.window.rows.size(); ++row) {
        if (decodeWindows1250(archive.window.rows[row].shownCaption()) == fileName) {
            return archive.model->ViewOrder[row];
        }
    }
    return std::nullopt;
}

void writeOutputFile(const std::string& path, const std::vector<std::byte>& bytes) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            throw ResourceError("Cannot create file " + temporary);
        }
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            throw ResourceError("Disk full", temporary);
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        throw fileError(error, path);
    }
}

}  // namespace brasvel::cli
