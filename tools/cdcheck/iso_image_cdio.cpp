#include "tools/cdcheck/iso_image.h"

#include <cdio/bytesex.h>
#include <cdio/iso9660.h>
#include <cdio/logging.h>
#include <cdio/memory.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tools/cdcheck/medium_limits.h"

namespace cdcheck {

namespace {

constexpr std::uint64_t kBlockBytes = 2048;
// Deeper than any tree the setup can copy; ends a walk through a folder that contains
// itself, which a damaged or hostile image can hold.
constexpr int kMaxDepth = 64;

struct CloseImage {
    void operator()(iso9660_t* image) const { iso9660_close(image); }
};
using Image = std::unique_ptr<iso9660_t, CloseImage>;

struct Item {
    std::string name;
    bool folder;
    std::uint32_t lsn;
    std::uint32_t size;
};

// The entries of one folder of the image, "." and ".." left out; false when the folder
// cannot be read.
bool List(iso9660_t* image, const std::string& folder, std::vector<Item>* items) {
    items->clear();
    CdioISO9660FileList_t* list = iso9660_ifs_readdir(image, folder.c_str());
    if (list == nullptr)
        return false;
    for (CdioListNode_t* node = _cdio_list_begin(list); node; node = _cdio_list_node_next(node)) {
        auto* stat = static_cast<iso9660_stat_t*>(_cdio_list_node_data(node));
        if (std::strcmp(stat->filename, ".") == 0 || std::strcmp(stat->filename, "..") == 0)
            continue;
        // A negative sector is nothing an image can hold: it is checked as one past the end.
        const std::uint32_t lsn =
            stat->lsn < 0 ? UINT32_MAX : static_cast<std::uint32_t>(stat->lsn);
        items->push_back(
            {stat->filename, stat->type == iso9660_stat_s::_STAT_DIR, lsn, stat->size});
    }
    iso9660_filelist_free(list);
    return true;
}

// Which Joliet entry stands for a Rock Ridge one: a file by the place of its data, a
// folder by its name, as it stands or cut to the Joliet length (a shorter folder of the
// same beginning, "doc" beside "documentation", is another folder).
const Item* Counterpart(const Item& item, const std::vector<Item>& joliet) {
    for (const Item& other : joliet) {
        if (other.folder == item.folder && other.name == item.name)
            return &other;
    }
    for (const Item& other : joliet) {
        if (other.folder != item.folder)
            continue;
        if (item.folder ? other.name.size() >= kJolietNameLength &&
                              item.name.compare(0, other.name.size(), other.name) == 0
                        : other.lsn == item.lsn && other.size == item.size && item.size > 0)
            return &other;
    }
    return nullptr;
}

void AppendUtf8(std::string& text, std::uint32_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | c >> 6);
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | c >> 12);
        text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | c >> 18);
        text += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// A Joliet name, UCS-2 big-endian (a surrogate pair taken as UTF-16), in UTF-8 and
// without its ";1" version. libcdio's own listing cuts a name to as many bytes as its
// UCS-2 form has, which leaves most of a Japanese or Chinese name out.
std::string JolietName(const std::string& ucs2) {
    const auto unit = [&ucs2](std::size_t i) -> std::uint32_t {
        return static_cast<std::uint8_t>(ucs2[i]) << 8 | static_cast<std::uint8_t>(ucs2[i + 1]);
    };
    std::string name;
    for (std::size_t i = 0; i + 1 < ucs2.size(); i += 2) {
        std::uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < ucs2.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        }
        AppendUtf8(name, c);
    }
    return name.substr(0, name.find(';'));
}

// The entries of one folder read from its directory records: their ISO 9660 names
// (libcdio's listing gives the Rock Ridge names where the image has them), or in the
// Joliet tree their Joliet names; false when the records cannot be read.
bool ListRecords(iso9660_t* image, std::uint32_t lsn, std::uint32_t size, bool joliet,
                 std::vector<Item>* items) {
    items->clear();
    const std::uint32_t blocks = static_cast<std::uint32_t>((size + kBlockBytes - 1) / kBlockBytes);
    std::vector<std::uint8_t> records(static_cast<std::size_t>(blocks) * kBlockBytes);
    if (blocks == 0 || iso9660_iso_seek_read(image, records.data(), lsn, blocks) !=
                           static_cast<long>(records.size()))
        return false;
    std::size_t offset = 0;
    while (offset < size) {
        const auto* record = reinterpret_cast<const iso9660_dir_t*>(&records[offset]);
        const std::size_t length = iso9660_get_dir_len(record);
        if (length == 0) { // the rest of this block is empty
            offset = (offset / kBlockBytes + 1) * kBlockBytes;
            continue;
        }
        if (offset + length > records.size())
            return false;
        // The name's length, then its characters (ECMA-119 9.1.10); 0 and 1 are "." and "..".
        const std::size_t nameLength = record->filename.len;
        if (33 + nameLength > length)
            return false;
        std::string name(&record->filename.str[1], nameLength);
        if (name != std::string(1, '\0') && name != std::string(1, '\1'))
            items->push_back({joliet ? JolietName(name) : name,
                              (record->file_flags & ISO_DIRECTORY) != 0, from_733(record->extent),
                              from_733(record->size)});
        offset += length;
    }
    return true;
}

// The ISO 9660 name as Windows shows it: without the ";1" version and without the dot
// of a name that has no extension.
std::string ShownIsoName(std::string name) {
    name = name.substr(0, name.find(';'));
    if (!name.empty() && name.back() == '.')
        name.pop_back();
    return name;
}

// The ISO 9660 entry of a Rock Ridge one: the same directory record, found by the place
// of its data (a folder's records, a file's bytes), each taken once.
const Item* IsoCounterpart(const Item& item, const std::vector<Item>& iso,
                           std::vector<bool>* used) {
    for (std::size_t i = 0; i < iso.size(); ++i) {
        if (!(*used)[i] && iso[i].folder == item.folder && iso[i].lsn == item.lsn) {
            (*used)[i] = true;
            return &iso[i];
        }
    }
    return nullptr;
}

class Walker {
public:
    Walker(iso9660_t* names, bool joliet, std::string imagePath, std::uint64_t imageBytes,
           ImageListing* listing)
        : names_(names), joliet_(joliet), imagePath_(std::move(imagePath)), imageBytes_(imageBytes),
          listing_(listing) {}

    // `path` with the publisher's names, `readAs` with Windows's ("" when Windows does
    // not see the folder), `isoPath` with the ISO 9660 names ("" when unknown); all ""
    // at the root. `records`: the folder's directory records (its Rock Ridge listing's
    // sector and size); `jolietRecords` those of the Joliet tree's folder, if it has one.
    bool Walk(const std::string& path, const std::string& readAs, const std::string& isoPath,
              const Item& records, const Item* jolietRecords, int depth) {
        std::vector<Item> items;
        std::vector<Item> jolietItems;
        std::vector<Item> isoItems;
        if (!List(names_, Host(path), &items))
            return Fail("the folder " + Shown(path) + " cannot be read");
        if (jolietRecords &&
            !ListRecords(names_, jolietRecords->lsn, jolietRecords->size, true, &jolietItems))
            return Fail("the Joliet folder " + Shown(readAs) + " cannot be read");
        if ((path.empty() || !isoPath.empty()) &&
            !ListRecords(names_, records.lsn, records.size, false, &isoItems))
            return Fail("the ISO 9660 folder " + Shown(isoPath) + " cannot be read");
        std::vector<bool> isoUsed(isoItems.size(), false);
        for (const Item& item : items) {
            if (static_cast<std::uint64_t>(item.lsn) * kBlockBytes + item.size > imageBytes_)
                return Fail(Shown(path + "\\" + item.name) + " lies past the end of the image");
            const Item* seen = Counterpart(item, jolietItems);
            MediumEntry entry;
            entry.path = path + "\\" + item.name;
            // Without a Joliet tree nothing is compared: the image is reported as such.
            entry.readAs = !joliet_ ? entry.path
                           : seen   ? readAs + "\\" + seen->name
                                    : std::string();
            const Item* isoItem = IsoCounterpart(item, isoItems, &isoUsed);
            if (isoItem && (path.empty() || !isoPath.empty()))
                entry.isoPath = isoPath + "\\" + ShownIsoName(isoItem->name);
            entry.where = imagePath_ + ":" + entry.path;
            entry.folder = item.folder;
            // The bytes Windows reads are those its Joliet record points to, which an
            // image may set apart from the Rock Ridge one's.
            const Item& data = joliet_ && seen ? *seen : item;
            entry.dataOffset = static_cast<std::uint64_t>(data.lsn) * kBlockBytes;
            entry.dataSize = data.size;
            listing_->entries.push_back(entry);
            if (item.folder && depth < kMaxDepth &&
                !Walk(entry.path, entry.readAs, entry.isoPath, item, joliet_ ? seen : nullptr,
                      depth + 1))
                return false;
        }
        return true;
    }

    const std::string& Why() const { return why_; }

private:
    static std::string Host(const std::string& path) {
        std::string host = path.empty() ? "/" : path;
        for (char& c : host) {
            if (c == '\\')
                c = '/';
        }
        return host;
    }
    static std::string Shown(const std::string& path) { return path.empty() ? "\\" : path; }
    bool Fail(const std::string& why) {
        why_ = why;
        return false;
    }

    iso9660_t* names_;
    bool joliet_;
    std::string imagePath_;
    std::uint64_t imageBytes_;
    ImageListing* listing_;
    std::string why_;
};

// Whether the file holds an ISO 9660 volume descriptor where one belongs (byte 32768:
// a type byte, then "CD001").
bool HasVolumeDescriptor(const std::string& path, std::uint64_t* bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    char magic[6] = {};
    bool found = std::fseek(file, 16 * static_cast<long>(kBlockBytes), SEEK_SET) == 0 &&
                 std::fread(magic, 1, sizeof magic, file) == sizeof magic &&
                 std::memcmp(magic + 1, "CD001", 5) == 0;
    *bytes = std::fseek(file, 0, SEEK_END) == 0 ? static_cast<std::uint64_t>(std::ftell(file)) : 0;
    std::fclose(file);
    return found;
}

// The root folder's directory records as the volume descriptor read with `image` gives
// them; none when it cannot be read.
Item RootFolder(iso9660_t* image) {
    iso9660_stat_t* stat = iso9660_ifs_stat(image, "/");
    const Item root = {"", true, stat ? static_cast<std::uint32_t>(stat->lsn) : 0,
                       stat ? stat->size : 0};
    iso9660_stat_free(stat);
    return root;
}

// Quiets libcdio's own messages on stderr: cdcheck says what went wrong.
void SilentLog(cdio_log_level_t, const char*) {}

} // namespace

ImageRead ReadImage(const std::string& imagePath, ImageListing* listing, std::string* why) {
    std::uint64_t imageBytes = 0;
    if (!HasVolumeDescriptor(imagePath, &imageBytes)) {
        *why = "not an ISO 9660 image: no volume descriptor at byte 32768";
        return ImageRead::NotAnImage;
    }
    cdio_log_set_handler(SilentLog);
    Image names(iso9660_open_ext(imagePath.c_str(), ISO_EXTENSION_ROCK_RIDGE));
    Image joliet(iso9660_open_ext(imagePath.c_str(), ISO_EXTENSION_JOLIET));
    if (!names || !joliet) {
        *why = "damaged: its volume descriptors cannot be read";
        return ImageRead::Damaged;
    }
    listing->joliet = iso9660_ifs_get_joliet_level(joliet.get()) > 0;
    char* label = nullptr;
    if (iso9660_ifs_get_volume_id(names.get(), &label) && label != nullptr) {
        listing->label = label;
        cdio_free(label);
    }
    const Item root = RootFolder(names.get());
    const Item jolietRoot = RootFolder(joliet.get());
    if (static_cast<std::uint64_t>(root.lsn) * kBlockBytes + root.size > imageBytes) {
        *why = "damaged: the root folder lies past the end of the image";
        return ImageRead::Damaged;
    }
    Walker walker(names.get(), listing->joliet, imagePath, imageBytes, listing);
    if (!walker.Walk("", "", "", root, listing->joliet ? &jolietRoot : nullptr, 1)) {
        *why = "damaged: " + walker.Why();
        return ImageRead::Damaged;
    }
    return ImageRead::Ok;
}

} // namespace cdcheck
