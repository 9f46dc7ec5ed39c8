// Makes the demo archives (demo.lod, demo.snd, demo.vid) in the folder given as the argument.

#include <filesystem>
#include <fstream>
#include <iostream>

#include "tools/writers/ArchiveWriters.h"

namespace {

using namespace brasvel::writers;

void save(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-demo FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    LodWriter lod;
    lod.add("README.TXT", "Demo archive of the Brasvel Resource Editor.\n", true);
    lod.add("GAME.PAL", std::string(768, '\x40'));
    save(folder / "demo.lod", lod.build());
    SndWriter snd;
    snd.add("CHIME", "RIFF");
    save(folder / "demo.snd", snd.build());
    VidWriter vid;
    vid.add("INTRO.SMK", "SMK2");
    vid.add("OUTRO.BIK", "BIKi");
    save(folder / "demo.vid", vid.build());
    return 0;
}
