#include "tools/cdcheck/pe_file.h"

#include <set>

namespace cdcheck {
namespace {

// Bounds-checked little-endian reads; every offset comes from the file.
class Bytes {
public:
    explicit Bytes(const std::vector<unsigned char>& bytes) : b_(bytes) {}
    bool Has(std::uint64_t offset, std::uint64_t size) const {
        return offset <= b_.size() && size <= b_.size() - offset;
    }
    std::uint32_t U16(std::uint64_t o) const { return b_[o] | b_[o + 1] << 8; }
    std::uint32_t U32(std::uint64_t o) const {
        return U16(o) | static_cast<std::uint32_t>(U16(o + 2)) << 16;
    }
    std::uint64_t U64(std::uint64_t o) const {
        return U32(o) | static_cast<std::uint64_t>(U32(o + 4)) << 32;
    }
    // A NUL-terminated name of at most 512 bytes; false when it runs off the file.
    bool Name(std::uint64_t o, std::string* name) const {
        name->clear();
        for (; o < b_.size() && name->size() < 512; ++o) {
            if (b_[o] == 0)
                return true;
            name->push_back(static_cast<char>(b_[o]));
        }
        return false;
    }

private:
    const std::vector<unsigned char>& b_;
};

struct Section {
    std::uint32_t rva, size, fileOffset, fileSize;
};

class Reader {
public:
    Reader(const std::vector<unsigned char>& bytes, PeFile* pe) : b_(bytes), pe_(pe) {}

    bool Read(std::string* why) {
        if (!b_.Has(0, 64) || b_.U16(0) != 0x5a4d)
            return Fail(why, "no PE file (no MZ header)");
        const std::uint64_t pe = b_.U32(0x3c);
        if (!b_.Has(pe, 24) || b_.U32(pe) != 0x00004550)
            return Fail(why, "no PE file (no PE header)");
        pe_->machine = static_cast<std::uint16_t>(b_.U16(pe + 4));
        const std::uint32_t sections = b_.U16(pe + 6);
        const std::uint32_t optionalSize = b_.U16(pe + 20);
        pe_->dll = (b_.U16(pe + 22) & 0x2000) != 0;
        const std::uint64_t opt = pe + 24;
        if (!b_.Has(opt, optionalSize) || optionalSize < 2)
            return Fail(why, "damaged PE file: the optional header is cut off");
        const std::uint32_t magic = b_.U16(opt);
        if (magic != 0x10b && magic != 0x20b)
            return Fail(why, "damaged PE file: unknown optional header");
        plus_ = magic == 0x20b;
        const std::uint32_t directories = plus_ ? 112 : 96;
        if (optionalSize < directories)
            return Fail(why, "damaged PE file: the optional header is cut off");
        pe_->subsystemMajor = static_cast<std::uint16_t>(b_.U16(opt + 48));
        pe_->subsystemMinor = static_cast<std::uint16_t>(b_.U16(opt + 50));
        pe_->subsystem = static_cast<std::uint16_t>(b_.U16(opt + 68));
        imageBase_ = plus_ ? b_.U64(opt + 24) : b_.U32(opt + 28);
        const std::uint32_t count = b_.U32(opt + directories - 4);
        auto directory = [&](std::uint32_t index) -> std::uint32_t {
            if (count <= index || optionalSize < directories + (index + 1) * 8)
                return 0;
            return b_.U32(opt + directories + index * 8);
        };
        const std::uint32_t importRva = directory(1), delayRva = directory(13);
        const std::uint64_t table = opt + optionalSize;
        if (sections > 96 || !b_.Has(table, sections * 40ull))
            return Fail(why, "damaged PE file: the section table is cut off");
        for (std::uint32_t i = 0; i < sections; ++i) {
            const std::uint64_t s = table + i * 40ull;
            sections_.push_back({b_.U32(s + 12), b_.U32(s + 8), b_.U32(s + 20), b_.U32(s + 16)});
        }
        return (importRva == 0 || ReadImports(importRva, why)) &&
               (delayRva == 0 || ReadDelayImports(delayRva, why));
    }

private:
    Bytes b_;
    PeFile* pe_;
    bool plus_ = false;
    std::uint64_t imageBase_ = 0;
    std::vector<Section> sections_;

    static bool Fail(std::string* why, const char* text) {
        *why = text;
        return false;
    }

    // The file offset of an RVA with `size` bytes behind it in the same section.
    bool Offset(std::uint32_t rva, std::uint32_t size, std::uint64_t* offset) const {
        for (const Section& s : sections_) {
            const std::uint32_t extent = s.size > s.fileSize ? s.fileSize : s.size;
            if (rva >= s.rva && rva - s.rva < extent && size <= extent - (rva - s.rva)) {
                *offset = static_cast<std::uint64_t>(s.fileOffset) + (rva - s.rva);
                return b_.Has(*offset, size);
            }
        }
        return false;
    }

    bool ReadImports(std::uint32_t rva, std::string* why) {
        const char* damaged = "damaged PE file: the import table points outside the file";
        std::set<std::uint64_t> seen; // a table that loops back is read once
        for (std::uint32_t i = 0; i < 4096; ++i) {
            std::uint64_t d = 0;
            if (!Offset(rva + i * 20u, 20, &d))
                return Fail(why, damaged);
            const std::uint32_t lookup = b_.U32(d), nameRva = b_.U32(d + 12), thunks = b_.U32(d + 16);
            if (nameRva == 0 && thunks == 0)
                return true;
            PeImport import;
            if (!ReadDllName(nameRva, &import) ||
                !ReadThunks(lookup != 0 ? lookup : thunks, 0, &import, &seen))
                return Fail(why, damaged);
            pe_->imports.push_back(import);
        }
        return Fail(why, "damaged PE file: the import table has no end");
    }

    // The delay import table: 32-byte descriptors (attributes, DLL name, module handle,
    // address table, name table, ...) up to one whose name and name table are 0. Attributes
    // bit 0 says the addresses are RVAs; without it they are addresses in the loaded image
    // (the first linkers that wrote the table), and so are the names' addresses.
    bool ReadDelayImports(std::uint32_t rva, std::string* why) {
        const char* damaged = "damaged PE file: the delay import table points outside the file";
        std::set<std::uint64_t> seen;
        for (std::uint32_t i = 0; i < 4096; ++i) {
            std::uint64_t d = 0;
            if (!Offset(rva + i * 32u, 32, &d))
                return Fail(why, damaged);
            const std::uint32_t nameAt = b_.U32(d + 4), namesAt = b_.U32(d + 16);
            if (nameAt == 0 && namesAt == 0)
                return true;
            const std::uint64_t bias = (b_.U32(d) & 1) != 0 ? 0 : imageBase_;
            std::uint32_t nameRva = 0, namesRva = 0;
            PeImport import;
            import.delayLoaded = true;
            if (!Rva(nameAt, bias, &nameRva) || !Rva(namesAt, bias, &namesRva) ||
                !ReadDllName(nameRva, &import) || !ReadThunks(namesRva, bias, &import, &seen))
                return Fail(why, damaged);
            pe_->imports.push_back(import);
        }
        return Fail(why, "damaged PE file: the delay import table has no end");
    }

    // An address that is `bias` above its RVA.
    static bool Rva(std::uint64_t address, std::uint64_t bias, std::uint32_t* rva) {
        if (address < bias || address - bias > 0xffffffffu)
            return false;
        *rva = static_cast<std::uint32_t>(address - bias);
        return true;
    }

    bool ReadDllName(std::uint32_t rva, PeImport* import) const {
        std::uint64_t name = 0;
        return Offset(rva, 1, &name) && b_.Name(name, &import->dll);
    }

    // A lookup table of names and numbers up to a 0 entry; a name's address is `bias`
    // above its RVA.
    bool ReadThunks(std::uint32_t rva, std::uint64_t bias, PeImport* import,
                    std::set<std::uint64_t>* seen) {
        const std::uint32_t width = plus_ ? 8 : 4;
        for (std::uint32_t i = 0; i < 65536; ++i) {
            std::uint64_t t = 0;
            if (!Offset(rva + i * width, width, &t) || !seen->insert(t).second)
                return false;
            const std::uint64_t value = plus_ ? b_.U64(t) : b_.U32(t);
            if (value == 0)
                return true;
            const std::uint64_t byOrdinal = plus_ ? 1ull << 63 : 1ull << 31;
            if (value & byOrdinal) {
                import->ordinals.push_back(static_cast<std::uint32_t>(value & 0xffff));
                continue;
            }
            std::uint32_t hintRva = 0;
            std::uint64_t hint = 0;
            std::string function;
            if (!Rva(value, bias, &hintRva) || !Offset(hintRva, 3, &hint) ||
                !b_.Name(hint + 2, &function))
                return false;
            import->functions.push_back(function);
        }
        return false;
    }
};

} // namespace

bool ReadPeFile(const std::vector<unsigned char>& bytes, PeFile* pe, std::string* why) {
    *pe = PeFile();
    return Reader(bytes, pe).Read(why);
}

} // namespace cdcheck
