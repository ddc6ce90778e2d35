#pragma once
// The card library: the camera's own card file system on partition 2 of an SD card, reached
// through these C functions on a raw block device ("/dev/sdb") or a card image file. The
// format is described in docs/card-format.md. Every structure read from a card is checked
// against the card's size: a corrupt card gives a failure, never a read outside it.
//
// Results: 0 is success for the device calls; file calls return a handle above 0, or a byte
// count; a negative value is a failure.

#include <cstdint>

extern "C" {

inline constexpr int kVorkBlockBytes = 161;       // the caller's device block
inline constexpr int kVorkListBytes = 3845;       // a file list buffer
inline constexpr int kVorkListCapacity = 30;      // entries per file list call
inline constexpr int kVorkListEntryBytes = 128;
inline constexpr int kVorkListNameBytes = 98;     // name field of a file list entry
inline constexpr int kVorkListIdOffset = 98;      // int32 file identifier
inline constexpr int kVorkListSizeOffset = 102;   // uint32 size in bytes
inline constexpr int kVorkCopyBlockBytes = 262144;
inline constexpr int kVorkFolderLayoutBytes = 77;  // per folder in the format layout

int KX_Vork_Start(void);
int KX_Vork_Stop(void);
// Nonzero when the disk holds a card-file-system partition.
int KX_Vork_Check_Vork_partition(const char* devicePath);
// Opens the card; `block` (161 zeroed bytes) identifies it in later calls. 0 is success.
int KX_Vork_Device_Open(const char* devicePath, int mode, void* block);
int KX_Vork_Device_Close(void* block);
// Fills `list` (3845 bytes, first int32 the capacity) with the next entries of `folder`,
// starting at *next (1 before the first call), and advances *next. Returns the entries
// filled; 0 when there are no more.
int KX_Vork_Get_FileList(void* block, const char* folder, int* next, void* list, int reserved);
// Opens "/FOLDER/NAME" for reading ("r"); `fileId` from the list finds it directly.
int KX_Vork_File_Open(void* block, const char* path, const char* mode, int reserved1, int reserved2, int fileId);
int KX_Vork_File_Read(void* block, void* buffer, int length, int handle);
int KX_Vork_File_Close(void* block, int handle);
// Bytes 12-15 of `info` (at least 16 bytes): the disk's count of 512-byte sectors.
int KX_Vork_Get_Master_Device_Info(const char* devicePath, void* info);
int KX_Vork_Delete_Partition(const char* devicePath, int flags);
// Creates partition `number` (1 or 2) of sizeLow + sizeHigh << 32 MB at *start (a sector;
// 0 means the first aligned one) and sets *start past it for the next partition.
int KX_Vork_Create_Partition(const char* devicePath, int number, std::uint32_t sizeLow, std::uint32_t sizeHigh,
                             int* start, int* spare);
// Formats partition 2 with the folders of `layout`: a count, then per folder 77 bytes:
// name[64], share of the space in percent (0: no limit), and three values kept as given.
int KX_Vork_Format(const char* devicePath, const char* devicePath2, int a, int b, const void* layout, int reserved);

// Beyond reading files in order: random access for playing a card file in place.
int KX_Vork_File_Size(void* block, int handle, std::uint64_t* size);
int KX_Vork_File_ReadAt(void* block, int handle, std::uint64_t offset, void* buffer, int length);

// Writing, for the camera simulator: a new file in a folder, written in order. The entry's
// size follows every write, so a file that is never closed stays as far as it was written,
// as after a power loss.
int KX_Vork_File_Create(void* block, const char* folder, const char* name);
int KX_Vork_File_Write(void* block, const void* buffer, int length, int handle);
}
