#pragma once

// What went wrong with a file, in the categories the messages distinguish.
enum class EFileError { None, NotFound, AccessDenied, BadPath, DiskFull, Generic };
