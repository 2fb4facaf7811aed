#include "core/pinyin/word_loading.h"

#include <cstring>

#include "core/dictionary/dictionary_texts.h"
#include "core/text/mapped_file.h"

namespace zhavik {
namespace {

// The largest compiled table read: the full word files make about 16 MB.
constexpr std::uintmax_t kMaxCompiledBytes = 64 * 1024 * 1024;

// A hash of some bytes, to tell whether a file changed: FNV-1a over eight bytes at a time,
// with the high bits folded down at each step so that every bit reaches every other.
std::uint64_t hash_bytes(std::uint64_t hash, const void* data, std::size_t size) {
  constexpr std::uint64_t kPrime = 0x100000001b3;
  const auto* bytes = static_cast<const unsigned char*>(data);
  hash = (hash ^ size) * kPrime;
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes + i, 8);
    hash = (hash ^ word) * kPrime;
    hash ^= hash >> 32;
  }
  for (; i < size; ++i)
    hash = (hash ^ bytes[i]) * kPrime;
  return hash;
}

std::filesystem::path beside(const std::filesystem::path& word_file, const char* name) {
  return word_file.parent_path() / std::filesystem::path(name).filename();
}

// What a table is built from: the files (no counts file: nothing) and the pinyin
// dictionary.
struct Sources {
  std::shared_ptr<const MappedFile> words;
  std::shared_ptr<const MappedFile> counts;
  std::u16string_view pinyin_data;

  std::uint64_t key() const {
    const std::string_view word_bytes = words->bytes();
    const std::string_view count_bytes = counts ? counts->bytes() : "";
    std::uint64_t key = hash_bytes(0xcbf29ce484222325, word_bytes.data(), word_bytes.size());
    key = hash_bytes(key, count_bytes.data(), count_bytes.size());
    key = hash_bytes(key, counts ? "counts" : "none", 6);
    return hash_bytes(key, pinyin_data.data(), pinyin_data.size() * sizeof(char16_t));
  }
};

std::optional<Sources> read_sources(const std::filesystem::path& word_file,
                                    std::u16string_view pinyin_data, LoadedWords& loaded) {
  loaded.refusal = word_file_refusal(word_file);
  if (loaded.refusal) return std::nullopt;
  std::shared_ptr<const MappedFile> words = MappedFile::open(word_file, kMaxDictionaryFileBytes);
  if (!words) {
    loaded.refusal = FileRefusal::unreadable;  // changed since the look
    return std::nullopt;
  }
  return Sources{std::move(words),
                 MappedFile::open(beside(word_file, kWordCountsFile), kMaxDictionaryFileBytes),
                 pinyin_data};
}

void build(const Sources& sources, LoadedWords& loaded) {
  const WordList words =
      parse_word_pinyin(sources.words->bytes(), CharacterReadings(sources.pinyin_data));
  const CountList counts =
      sources.counts ? parse_word_counts(sources.counts->bytes()) : CountList{};
  loaded.table = std::make_unique<const WordTable>(words.words, counts.counts);
  loaded.malformed_lines = words.malformed_lines;
  loaded.unknown_readings = words.unknown_readings;
  loaded.malformed_count_lines = counts.malformed_lines;
  loaded.counts_read = sources.counts != nullptr;
}

std::array<std::uint64_t, WordTable::kNotes> notes_of(const LoadedWords& loaded) {
  return {loaded.malformed_lines, loaded.unknown_readings, loaded.malformed_count_lines,
          loaded.counts_read};
}

}  // namespace

std::optional<FileRefusal> word_file_refusal(const std::filesystem::path& word_file) {
  return regular_file_refusal(word_file, kMaxDictionaryFileBytes);
}

LoadedWords load_word_table(const std::filesystem::path& word_file,
                            std::u16string_view pinyin_data) {
  LoadedWords loaded;
  const std::optional<Sources> sources = read_sources(word_file, pinyin_data, loaded);
  if (!sources) return loaded;
  if (std::shared_ptr<const MappedFile> compiled =
          MappedFile::open(beside(word_file, kWordTableFile), kMaxCompiledBytes)) {
    std::array<std::uint64_t, WordTable::kNotes> notes{};
    const std::string_view bytes = compiled->bytes();
    if (std::optional<WordTable> table =
            WordTable::from_compiled(bytes, std::move(compiled), sources->key(), notes)) {
      loaded.table = std::make_unique<const WordTable>(std::move(*table));
      loaded.malformed_lines = notes[0];
      loaded.unknown_readings = notes[1];
      loaded.malformed_count_lines = notes[2];
      loaded.counts_read = notes[3] != 0;
      loaded.compiled = true;
      return loaded;
    }
  }
  build(*sources, loaded);
  return loaded;
}

std::optional<std::string> compile_word_table(const std::filesystem::path& word_file,
                                              std::u16string_view pinyin_data) {
  LoadedWords loaded;
  const std::optional<Sources> sources = read_sources(word_file, pinyin_data, loaded);
  if (!sources) return std::nullopt;
  build(*sources, loaded);
  return loaded.table->to_bytes(sources->key(), notes_of(loaded));
}

}  // namespace zhavik
