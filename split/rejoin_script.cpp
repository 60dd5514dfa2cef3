#include "split/rejoin_script.h"

#include <utility>

#include "split/batch_text.h"

using batch_text::line_end;
using batch_text::quoted;

namespace {

// /y: a COPYCMD=/-Y in the environment would make copy ask before it appends to
// the file it made, and wait for ever where nobody answers.
const std::string command_word = "copy /b /y";
const std::string copy_check = "if errorlevel 1 goto copy_failed\r\n";

bool plain_ascii(const std::string& name) {
  for (char c : name) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

int digits(std::int64_t number) {
  int count = 1;
  while (number >= 10) {
    number /= 10;
    ++count;
  }
  return count;
}

// length(number), made anew only when the number's kind differs from the last
// one's: lines whose numbers are of one kind are equally long.
template <typename Kind, typename Length>
auto length_by_kind(Kind kind, Length length) {
  return [kind, length, last_number = std::int32_t{0}, last_length = std::uint64_t{0}](std::int32_t number) mutable {
    if (last_number == 0 || kind(number) != kind(last_number)) last_length = length(number);
    last_number = number;
    return last_length;
  };
}

// The sum of length(number) for 1 to count.
template <typename Kind, typename Length>
std::uint64_t sum_of_lengths(std::int32_t count, Kind kind, Length length) {
  auto length_of = length_by_kind(kind, length);
  std::uint64_t total = 0;
  for (std::int32_t number = 1; number <= count; ++number) total += length_of(number);
  return total;
}

}  // namespace

RejoinScript::RejoinScript(std::string target_name, std::int32_t part_count, std::int64_t part_size,
                           std::int64_t last_part_size)
    : target_name(std::move(target_name)),
      part_count(part_count),
      part_size(part_size),
      last_part_size(last_part_size) {}

std::string RejoinScript::part_name(std::int32_t number) const {
  return target_name + "_" + std::to_string(number);
}

std::int64_t RejoinScript::part_size_of(std::int32_t number) const {
  return number == part_count ? last_part_size : part_size;
}

std::string RejoinScript::building_name() const { return target_name + ".rejoining"; }

bool RejoinScript::target_empty() const { return part_count == 1 && last_part_size == 0; }

std::string RejoinScript::head() const {
  return "@echo off" + line_end +
         // Whatever the registry sets as the default: "if not", "%~dp0" and "%~z" need
         // the extensions, and delayed expansion would eat every "!" in a name.
         "setlocal EnableExtensions DisableDelayedExpansion" + line_end +
         // The parts lie beside the script, wherever it was started from; on a share
         // this maps a drive letter for the run, which popd takes back on every way out.
         // Without a free letter it fails, and the script would look for the parts
         // wherever it was started. setlocal with its options has just set the
         // errorlevel to 0, so a 1 here is pushd's.
         "pushd \"%~dp0\"" + line_end +  //
         "if errorlevel 1 goto no_folder" + line_end +
         // Tells whether this run has a file of hashes in %TEMP% to remove; the
         // environment may hold a variable of that name.
         "set \"sums=\"" + line_end +  //
         "echo Checking the parts of " + quoted(target_name) + " (" + std::to_string(part_count) + " in all)..." +
         line_end;
}

// Sizes are compared as text: cmd's numbers are 32-bit, parts reach 4 GiB and more.
// "for" over one quoted name without wildcards runs its body once, whether the file
// exists or not, and %%~zf is then its size or nothing. The size is cleared first,
// so that a part whose check does not run can never pass with the size of the one
// before.
std::string RejoinScript::checks(std::int32_t number) const {
  const std::string name = quoted(part_name(number));
  const std::string size = std::to_string(part_size_of(number));
  const std::string differs = "if not \"%size%\"==\"" + size + "\" ";
  return "set \"size=\"" + line_end +  //
         "for %%f in (" + name + ") do set \"size=%%~zf\"" + line_end +
         differs + "echo Part " + name + " is missing or is not " + size +
         " bytes long; later parts were not checked." + line_end +  //
         differs + "goto part_wrong" + line_end;
}

// A file of the target's name may be the original, or anything else the user keeps;
// a folder of that name would receive the data inside it. Either stops the script,
// and so does a file or folder of the name the file is built under.
std::string RejoinScript::guards() const {
  return "if exist " + quoted(target_name) + " goto target_exists" + line_end +  //
         "if exist " + quoted(building_name()) + " goto building_exists" + line_end;
}

std::string RejoinScript::entry(std::int32_t number) const {
  return (number > 1 ? " + " : " ") + quoted(part_name(number));
}

std::string RejoinScript::destination() const { return " " + quoted(building_name()); }

// The first line builds the file from the first parts; a later line appends the
// next parts to it:  copy /b /y "movie.iso.rejoining" + "movie.iso_481" + ... "movie.iso.rejoining"
std::string RejoinScript::copy_line(std::int32_t first, std::int32_t last) const {
  std::string line = command_word + (first > 1 ? destination() : "");
  for (std::int32_t number = first; number <= last; ++number) line += entry(number);
  return line + destination();
}

// One line when the list fits the interpreter's limit, else several shorter ones.
void RejoinScript::for_each_copy_line(const CopyLineVisitor& visit) const {
  const std::size_t target_length = destination().size();
  const auto kind = [](std::int32_t number) { return std::pair{digits(number), number > 1}; };
  const auto entry_length = [&](std::int32_t number) { return entry(number).size(); };
  const std::uint64_t one_line = command_word.size() + target_length + sum_of_lengths(part_count, kind, entry_length);
  const std::uint64_t limit = one_line <= longest_line ? longest_line : longest_wrapped_line;

  auto entry_length_of = length_by_kind(kind, entry_length);
  std::int32_t first = 1;
  std::uint64_t length = command_word.size();
  for (std::int32_t number = 1; number <= part_count; ++number) {
    const std::uint64_t next = entry_length_of(number);
    if (number > 1 && length + next + target_length > limit) {
      visit(first, number - 1, length + target_length);
      first = number;
      length = command_word.size() + target_length;
    }
    length += next;
  }
  visit(first, part_count, length + target_length);
}

// The ways out of a script that made nothing, or not all of it. Each pauses, so
// that a double-clicked window stays open to be read; with its input redirected
// the script does not wait.
std::string RejoinScript::failure_exits() const {
  const std::string name = quoted(target_name);
  const std::string building = quoted(building_name());
  const std::string failed = "pause" + line_end + "popd" + line_end + "exit /b 1" + line_end;
  std::string text = ":part_wrong" + line_end + "echo " + name + " was not made or changed." + line_end;
  // Such names read as other characters in another code page, and their parts as missing.
  if (!plain_ascii(target_name)) {
    text += "echo The names of these files are not plain ASCII: a console not set to code page 932 (Windows other "
            "than Japanese) reads them wrongly and finds no part. Run this on Japanese Windows, or have the file "
            "renamed to plain ASCII letters and split again." +
            line_end;
  }
  return text + failed +  //
         ":target_exists" + line_end +
         "echo " + name + " exists already here. Move or rename it, then run this again; nothing was changed." +
         line_end + failed +  //
         ":building_exists" + line_end + "echo " + building +
         " exists already here, perhaps left by an earlier run of this script. Delete or move it, then run this "
         "again; nothing was changed." +
         line_end + failed +  //
         ":copy_failed" + line_end + "echo Copying into " + building +
         " failed: it is incomplete. Delete it, mend the cause above and run this again." + line_end + failed +  //
         ":rename_failed" + line_end + "echo The rebuilt file could not be renamed to " + name + ": it is " +
         building + " here. Rename it yourself." + line_end +  //
         "if defined sums del \"%sums%\"" + line_end + failed +  //
         // Nothing was pushed: no popd.
         ":no_folder" + line_end +
         "echo This script cannot work in its own folder \"%~dp0\". Copy that folder to a local disk and run it "
         "there." +
         line_end + "pause" + line_end + "exit /b 1" + line_end;
}

// The lines go to the sink in pieces of about 64 KiB: one write per line would make
// a large script slow to write, one piece for all of it large.
bool RejoinScript::write(const SplitDigests& digests, const Sink& sink) const {
  constexpr std::size_t piece_size = 65536;
  std::string pending;
  bool ok = true;
  const auto add = [&](const std::string& text) {
    if (!ok) return;
    pending += text;
    if (pending.size() >= piece_size) {
      ok = sink(pending);
      pending.clear();
    }
  };
  add(head());
  for (std::int32_t number = 1; number <= part_count; ++number) add(checks(number));
  add(guards());
  // Each copy line is checked: a later append that failed would otherwise end well
  // over a cut file.
  for_each_copy_line([&](std::int32_t first, std::int32_t last, std::uint64_t) {
    add(copy_line(first, last) + line_end + copy_check);
  });
  add(proof(digests.whole));
  // The parts' digests stand after the normal way out: read only when the file is wrong.
  add(search_head());
  for (std::int32_t number = 1; number <= part_count; ++number) {
    add(part_search(number, digests.parts[static_cast<std::size_t>(number - 1)]));
  }
  add(search_tail() + failure_exits() + subroutines());
  return ok && (pending.empty() || sink(pending));
}

std::uint64_t RejoinScript::length() const {
  const auto kind = [this](std::int32_t number) { return std::pair{digits(number), part_size_of(number)}; };
  const Sha256Digest any_digest{};
  std::uint64_t total =
      head().size() + guards().size() + proof(any_digest).size() + search_head().size() + search_tail().size() +
      failure_exits().size() + subroutines().size() +
      sum_of_lengths(part_count, kind, [this](std::int32_t number) { return checks(number).size(); }) +
      sum_of_lengths(
          part_count, digits, [&](std::int32_t number) { return part_search(number, any_digest).size(); });
  for_each_copy_line([&](std::int32_t, std::int32_t, std::uint64_t length) {
    total += length + line_end.size() + copy_check.size();
  });
  return total;
}
