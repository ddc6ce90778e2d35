#include "settings/CardPartitioning.h"

#include "card/VorkApi.h"
#include "settings/CardRootFolder.h"
#include "settings/ExternalProgram.h"

#include <cstring>
#include <sys/stat.h>
#include <utility>

namespace kx::settings {

std::vector<std::uint8_t> CardFormatLayout() {
    const std::pair<const char*, std::uint32_t> folders[] = {{"NORMAL", 40}, {"EVENT", 20}, {"PARKING", 40}};
    std::vector<std::uint8_t> layout(1 + std::size(folders) * kVorkFolderLayoutBytes, 0);
    layout[0] = static_cast<std::uint8_t>(std::size(folders));
    for (std::size_t i = 0; i < std::size(folders); ++i) {
        std::uint8_t* f = layout.data() + 1 + i * kVorkFolderLayoutBytes;
        std::memcpy(f, folders[i].first, std::strlen(folders[i].first));
        const std::uint32_t zero = 0, tenThousand = 10000;
        std::memcpy(f + 64, &folders[i].second, 4);
        std::memcpy(f + 68, &zero, 4);
        std::memcpy(f + 72, &tenThousand, 4);
        f[76] = 5;
    }
    return layout;
}

int RepartitionCard(const std::string& devicePath) {
    const char* path = devicePath.c_str();
    std::uint8_t info[64] = {};
    KX_Vork_Get_Master_Device_Info(path, info);  // a failure leaves the count 0
    std::uint32_t sectors = 0;
    std::memcpy(&sectors, info + 12, 4);
    if (sectors < 2) return kRepartitionNoSize;
    if (KX_Vork_Delete_Partition(path, 7) != 0) return kRepartitionDeleteFailed;
    int start = 0, spare = 0;
    if (KX_Vork_Create_Partition(path, 1, kFirstPartitionMb, 0, &start, &spare) != 0) return kRepartitionFirstFailed;
    const auto restMb = static_cast<std::uint64_t>(
        (static_cast<std::int64_t>(sectors / 2) - std::int64_t{kFirstPartitionMb} * 1024) / 1024);
    if (KX_Vork_Create_Partition(path, 2, static_cast<std::uint32_t>(restMb), static_cast<std::uint32_t>(restMb >> 32),
                                 &start, &spare) != 0)
        return kRepartitionSecondFailed;
    const std::vector<std::uint8_t> layout = CardFormatLayout();
    if (KX_Vork_Format(path, path, 2, 2, layout.data(), 0) != 0) return kRepartitionFormatFailed;
    return kRepartitionDone;
}

bool FormatFirstPartitionFat32(const std::string& disk, const std::string& label, std::string& error) {
    const auto partition = ReadFirstPartition(disk);
    if (!partition) return error = disk + " has no partition 1", false;
    std::vector<std::string> argv = {"mkfs.fat", "-F", "32"};
    if (!label.empty()) argv.insert(argv.end(), {"-n", label});
    // The partition's place comes from the table just written, never from a partition device
    // node whose extent the kernel may still have from before. On a whole disk with partitions
    // mkfs.fat needs -I to accept that.
    struct stat st {};
    if (::stat(disk.c_str(), &st) == 0 && S_ISBLK(st.st_mode)) argv.push_back("-I");
    argv.insert(argv.end(), {"--offset", std::to_string(partition->firstSector), disk,
                             std::to_string(partition->sectors / 2)});
    std::string output;
    const int status = RunProgram(argv, &output);
    if (status != 0) {
        error = status < 0 ? "mkfs.fat could not be run (package dosfstools)" : "mkfs.fat failed: " + output;
        return false;
    }
    return true;
}

}  // namespace kx::settings
