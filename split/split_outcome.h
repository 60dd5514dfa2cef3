#pragma once
// How a split ended and, when it failed, why: made where the reason is known, and
// carried as it is to the one box that shows it. Failures inside the split engine
// are thrown as this value.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Why a split that was asked for a spare makes none; the split goes on all the same.
enum class SpareRefusal {
  // One or two parts: the spare would be half the file or more.
  too_few_parts,
  // Parts over 64 MiB: more memory than the program takes, and slices too long for
  // other PAR2 clients (MultiPar's help advises under 100,000,000 bytes); also a
  // size that is no multiple of 4 bytes, which PAR2 asks of a slice.
  parts_too_large,
  // PAR2 takes at most 32,768 files.
  too_many_parts,
  // Decided once the split's names are known: no room for one part more, a name
  // past the path limit, or a spare's name taken already (never replaced).
  no_room,
  name_too_long,
  name_taken,
  // Its files could not be written; the split's other files were.
  not_written,
};

struct SplitOutcome {
  enum class Ending { finished, cancelled, failed };

  enum class Reason {
    none,
    no_source_named,
    source_missing,
    source_is_folder,
    source_is_device,
    // A .bat file: its rejoin script would take its own name.
    source_is_batch_file,
    // A .~pc file: its rejoin script would be written under its own name first.
    source_is_temporary_name,
    // \\?\ and \??\ paths, which the system takes past its own path rules.
    raw_path,
    // A colon past the drive letter's: on NTFS, a stream of the file.
    stream_name,
    // A name whose extension is not plain ASCII: the rejoin script, ASCII bytes
    // only, could not spell it.
    extension_not_ascii,
    // A name with a lone surrogate, which Windows holds but UTF-8, and so the
    // checksum file, cannot spell.
    name_not_utf8,
    name_too_long,
    // A part, the script, the checksum file, or the name one of these two is
    // written under until it is whole, exists already.
    part_exists,
    script_exists,
    checksum_exists,
    temporary_exists,
    no_room,
    part_size_not_positive,
    too_many_parts,
    source_changed,
    out_of_memory,
    // Errors the system reports, with its number where it gives one.
    cannot_open,
    cannot_read,
    cannot_write,
    cannot_close,
    // The whole file could not be given its final name.
    cannot_rename,
    // The system could not compute a SHA-256.
    cannot_hash,
    cannot_look_through_folder,
    cannot_start,
  };

  static SplitOutcome cancel() {
    SplitOutcome outcome;
    outcome.ending = Ending::cancelled;
    return outcome;
  }

  static SplitOutcome failure(Reason reason, std::wstring file = {}, unsigned long system_error = 0) {
    SplitOutcome outcome;
    outcome.ending = Ending::failed;
    outcome.reason = reason;
    outcome.file = std::move(file);
    outcome.system_error = system_error;
    return outcome;
  }

  Ending ending = Ending::finished;
  Reason reason = Reason::none;
  // The file or folder concerned, by its full path; empty where none is.
  std::wstring file;
  // The system's error number; 0 where the system gave none.
  unsigned long system_error = 0;
  // For no_room: bytes needed for the parts and the script, and free to this user.
  std::uint64_t room_needed = 0;
  std::uint64_t room_free = 0;

  // For extension_not_ascii: the extension, from its dot.
  std::wstring extension;

  // For part_exists: how many of this split's part names are taken, and the one
  // with the highest number (`file` is the lowest).
  std::int64_t names_taken = 0;
  std::wstring last_taken;

  // The part files the split made, the first and the last of them, and whether the
  // last was cut short; for a finished split also its script and checksum file.
  std::int32_t parts_kept = 0;
  std::wstring first_part;
  std::wstring last_part;
  bool last_part_short = false;
  std::wstring script_file;
  std::wstring checksum_file;
  // For a split asked for a spare: its two files, the index first, once made; or
  // why none was made.
  std::vector<std::wstring> spare_files;
  std::optional<SpareRefusal> spare_refusal;
  // What became of the files after the parts, the checksum file and the script, when
  // their writing did not end well: each is written under a temporary name until it
  // is whole, and what was written is removed again. Whether one was, and each that
  // could not be, which the user must remove.
  bool unfinished_removed = false;
  std::vector<std::wstring> unfinished_left;
};
