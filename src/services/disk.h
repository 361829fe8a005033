#pragma once
// A snapshot of the computer's drives, C: to Z:, built on demand.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TDriveRecord {
    std::uint8_t DriveNo = 0;   // 1 (A) to 26 (Z); 0 in an empty slot
    std::int64_t DriveSize = 0; // capacity in bytes, -1 when the system cannot say
    std::int64_t DriveFree = 0; // bytes available to the user, -1 when the system cannot say
    std::uint8_t DriveType = 0; // 0 unknown ... 6 RAM disk
    bool operator==(const TDriveRecord&) const = default;
};

class TDisk {
public:
    // Reads the drives and their space now; later changes are not seen.
    TDisk();

    std::uint8_t Count = 0; // drives found

    // Root ("X:\") of the drive at `index` (0 to Count - 1) in letter order; else "".
    std::string DriveName(int index) const;
    // The record of drive `number` (1 to 26); any other number gives an all-zero record.
    TDriveRecord DriveInfo(int number) const;
    // The system's drive type of `root`, or 0 when the system reports a value above 6.
    static std::uint8_t DriveTypeOf(const std::string& root);

private:
    std::vector<std::string> roots_;
    std::array<TDriveRecord, 27> records_{}; // [1] is A:, [26] is Z:; [0] unused
};
