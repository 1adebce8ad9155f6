// The index file's reading rules, written as plainly as possible, one byte at a time. Tests hold
// the fast reader and the title search to the results of this one.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "index/types.h"

namespace quillscan::testing {

std::vector<ThreadEntry> referenceEntries(std::string_view fileBytes);

// The entries ThreadIndexReader reads from `file`, with a buffer of `bufferSize` bytes.
std::vector<ThreadEntry> readAllEntries(const std::filesystem::path& file, std::size_t bufferSize);

// Titles containing `query` after trimming U+0020, unit by unit in lower case.
std::vector<ThreadEntry> referenceMatches(std::string_view fileBytes, std::u16string_view query);

}  // namespace quillscan::testing
