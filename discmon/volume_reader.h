#pragma once
// Volume information of a disc read from its own volume descriptors: ISO 9660 (with Joliet) or UDF.
#include <cstdint>

#include "discmon/sector_source.h"
#include "discmon/volume_info.h"

// Reads the descriptors of the session starting at `session_start` (its sector 16 onwards) into `info`.
// Returns ERROR_SUCCESS, leaving name, file system and serial empty for a disc with neither file system,
// or ERROR_NOT_READY when a sector needed cannot be read (then `info` is untouched). A sector that
// cannot be read after the primary descriptor or the set terminator ends the walk instead.
unsigned read_volume_descriptors(SectorSource& source, std::uint32_t session_start, VolumeInfo& info);

// Same for an open file or device descriptor (session at sector 0); the descriptor is not closed.
unsigned read_volume_fd(int fd, VolumeInfo& info);

// Same for an image file; a file that cannot be opened counts as not ready.
unsigned read_volume_file(const char* path, VolumeInfo& info);
