#include "receiver/rejoin_script.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "receiver/batch_text.h"
#include "split/path_rules.h"

using batch_text::ascii_of;
using batch_text::line_end;
using batch_text::percent_doubled;
using batch_text::plain_ascii;

namespace {

// /y: a COPYCMD=/-Y in the environment would make copy ask before it appends to
// the file it made, and wait for ever where nobody answers.
const std::string command_word = "copy /b /y";
const std::string copy_check = "if errorlevel 1 goto copy_failed\r\n";
// Holds the stem of every name that is not plain ASCII: the script's own name
// without ".bat".
const std::string stem_variable = "%stem%";

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

// A name in plain ASCII with a "%" is written with the "%" doubled, and grows
// shorter once expanded; its lines are measured as written, which is safe.
RejoinScript::RejoinScript(std::wstring target_name, std::int32_t part_count, std::int64_t part_size,
                           std::int64_t last_part_size, bool spare_made)
    : named_by_itself(!plain_ascii(target_name)),
      extension(ascii_of(path_rules::extension(target_name))),
      name_in_script(named_by_itself ? stem_variable + percent_doubled(extension)
                                     : percent_doubled(ascii_of(target_name))),
      name_growth(named_by_itself ? static_cast<std::int64_t>(path_rules::stem(target_name).size()) -
                                        static_cast<std::int64_t>(stem_variable.size())
                                  : 0),
      target_name(std::move(target_name)),
      part_count(part_count),
      part_size(part_size),
      last_part_size(last_part_size),
      spare_made(spare_made) {}

std::string RejoinScript::file(const std::string& suffix, bool dot_first) const {
  return "\"" + std::string(dot_first ? ".\\" : "") + name_in_script + suffix + "\"";
}

std::string RejoinScript::script_name() const { return ascii_of(path_rules::stem(target_name)) + ".bat"; }

std::int64_t RejoinScript::part_size_of(std::int32_t number) const {
  return number == part_count ? last_part_size : part_size;
}

std::int64_t RejoinScript::total_size() const { return (part_count - 1) * part_size + last_part_size; }

bool RejoinScript::target_empty() const { return part_count == 1 && last_part_size == 0; }

// The script's own path is %~f0, but started as "movie" without ".bat", cmd finds
// movie.bat and still gives %0, and so %~f0, without the extension: the file is then
// the name and ".bat".
std::string RejoinScript::head(std::uint64_t own_length) const {
  const std::string incomplete = "if \"%whole%\"==\"no\" ";
  return "@echo off" + line_end +
         // Whatever the registry sets as the default: "if not", "%~dp0" and "%~z" need
         // the extensions, and delayed expansion would eat every "!" in a name.
         "setlocal EnableExtensions DisableDelayedExpansion" + line_end +
         // cmd reads a batch file a line at a time as it goes: a script cut short would
         // run its last line cut, a copy line without its destination, which glues every
         // part into the first. So the script first compares its length on the disk with
         // the one it was made with, and stops inline, before it touches any part: a
         // goto could look for a label the cut took away. The length comes from %~z0
         // rather than from a variable holding the path, whose value an interpreter
         // that expands it twice would read without its "%".
         "set \"length=%~z0\"" + line_end +
         "if \"%~x0\"==\"\" for %%f in (\"%~dpn0.bat\") do set \"length=%%~zf\"" + line_end +
         "set \"whole=no\"" + line_end +  //
         "if \"%length%\"==\"" + std::to_string(own_length) + "\" set \"whole=yes\"" + line_end + incomplete +
         "echo This script is incomplete or was changed after it was made: a download or copy that stopped early, a "
         "conversion of its line ends or an edit. Nothing was done." +
         line_end + incomplete +
         "echo Get this script again from whoever sent you the parts, put it beside them and run that one." +
         line_end + incomplete + "pause" + line_end + incomplete + "exit /b 1" + line_end +
         // The script's own full path, for the search that reads its data lines: taken
         // before pushd, since a quoted relative %0 would be made full against the new
         // folder.
         "set \"script=%~f0\"" + line_end + "if \"%~x0\"==\"\" set \"script=%~dpn0.bat\"" + line_end +
         (named_by_itself ? "set \"stem=%~n0\"" + line_end : "") +
         // The parts lie beside the script, wherever it was started from; on a share
         // this maps a drive letter for the run, which popd takes back on every way out.
         // Without a free letter it fails, and the script would look for the parts
         // wherever it was started. setlocal with its options has just set the
         // errorlevel to 0, and a successful set leaves it, so a 1 here is pushd's.
         "pushd \"%~dp0\"" + line_end +  //
         "if errorlevel 1 goto no_folder" + line_end +
         // A variable of that name in the environment would stand in for the result of
         // every command that %errorlevel% asks about.
         "set \"ERRORLEVEL=\"" + line_end +  //
         "echo Checking the parts of " + file("") + " (" + std::to_string(part_count) + " in all)..." + line_end;
}

// Sizes are compared as text: cmd's numbers are 32-bit, parts reach 4 GiB and more.
// "for" over one quoted name without wildcards runs its body once, whether the file
// exists or not, and %%~zf is then its size or nothing. The size is cleared first,
// so that a part whose check does not run can never pass with the size of the one
// before.
std::string RejoinScript::checks(std::int32_t number) const {
  const std::string name = file("_" + std::to_string(number));
  const std::string size = std::to_string(part_size_of(number));
  const std::string differs = "if not \"%size%\"==\"" + size + "\" ";
  std::string text = "set \"size=\"" + line_end +  //
                     "for %%f in (" + name + ") do set \"size=%%~zf\"" + line_end + differs + "echo Part " + name +
                     " is missing or is not " + size + " bytes long; later parts were not checked." + line_end;
  // A script that takes its stem from its own name finds no part once it is renamed,
  // as a browser renames a second download "movie (1).bat": the likely cause when
  // the first part is not there at all, and not when it is there with another size.
  if (named_by_itself && number == 1) {
    text += "if not exist " + name + " echo If this script was renamed, that is why: it finds its parts by its own "
                                     "name, now \"%~nx0\". Give it the name its parts have before \"" +
            percent_doubled(extension) + "_1\", followed by \".bat\"." + line_end;
  }
  return text + differs + "goto part_wrong" + line_end;
}

// A file of the target's name may be the original, or anything else the user keeps;
// a folder of that name would receive the data inside it. Either stops the script,
// and so does a file or folder of a name the script makes for itself: both such
// names are looked at before it stops, so that one run names every leftover.
std::string RejoinScript::guards() const {
  return "if exist " + file("") + " goto target_exists" + line_end +  //
         "set \"leftovers=\"" + line_end +                             //
         "if exist " + file(building_suffix) + " set \"leftovers=yes\"" + line_end +
         "if exist " + file(sums_suffix) + " set \"leftovers=yes\"" + line_end +  //
         "if defined leftovers goto leftovers" + line_end;
}

std::string RejoinScript::entry(std::int32_t number) const {
  return (number > 1 ? " + " : " ") + file("_" + std::to_string(number));
}

std::string RejoinScript::destination() const { return " " + file(building_suffix); }

// The first line builds the file from the first parts; a later line appends the
// next parts to it:  copy /b /y "movie.iso.rejoining" + "movie.iso_481" + ... "movie.iso.rejoining"
std::string RejoinScript::copy_line(std::int32_t first, std::int32_t last) const {
  std::string line = command_word + (first > 1 ? destination() : "");
  for (std::int32_t number = first; number <= last; ++number) line += entry(number);
  return line + destination();
}

// One line when the list fits the interpreter's limit, else several shorter ones.
// The limit holds for the line as cmd reads it, with every name expanded: each entry
// and each destination holds one name.
void RejoinScript::for_each_copy_line(const CopyLineVisitor& visit) const {
  // A line is measured as written and as expanded, whichever is longer: cmd reads no
  // longer line from the file, and expands none longer. A short stem grows shorter
  // once expanded, as "%stem%" becomes "旅行".
  const auto expanded = [this](std::uint64_t written, std::int64_t names) {
    return static_cast<std::int64_t>(written) + names * std::max<std::int64_t>(name_growth, 0);
  };
  const std::size_t target_length = destination().size();
  const auto kind = [](std::int32_t number) { return std::pair{digits(number), number > 1}; };
  const auto entry_length = [&](std::int32_t number) { return entry(number).size(); };
  const std::uint64_t one_line = command_word.size() + target_length + sum_of_lengths(part_count, kind, entry_length);
  const auto limit = static_cast<std::int64_t>(expanded(one_line, part_count + 1) <= std::int64_t{longest_line}
                                                   ? longest_line
                                                   : longest_wrapped_line);

  auto entry_length_of = length_by_kind(kind, entry_length);
  std::int32_t first = 1;
  std::uint64_t length = command_word.size();
  std::int64_t names = 1;  // the destination
  for (std::int32_t number = 1; number <= part_count; ++number) {
    const std::uint64_t next = entry_length_of(number);
    if (number > 1 && expanded(length + next + target_length, names + 1) > limit) {
      visit(first, number - 1, length + target_length);
      first = number;
      length = command_word.size() + target_length;
      names = 2;  // the file appended to and the destination
    }
    length += next;
    ++names;
  }
  visit(first, part_count, length + target_length);
}

// copy may end well over a file it cut short or left a source out of (a part that
// vanished between the checks and the copy, a device that lies): the file must be
// as long as the original before anything else is done with it.
std::string RejoinScript::size_check() const {
  return "set \"size=\"" + line_end +  //
         "for %%f in (" + file(building_suffix) + ") do set \"size=%%~zf\"" + line_end +
         "if not \"%size%\"==\"" + std::to_string(total_size()) + "\" goto size_wrong" + line_end;
}

// "del" says nothing of a file it could not remove, and /f removes one that copy
// made read-only after a read-only part: the file itself is asked afterwards.
std::string RejoinScript::removal(const std::string& suffix) const {
  const std::string name = file(suffix, true);
  return "if exist " + name + " del /f " + name + line_end +  //
         "if exist " + name + " echo " + file(suffix) + " could not be deleted: delete it yourself." + line_end;
}

// The ways out of a script that made nothing, or not all of it. Each pauses, so
// that a double-clicked window stays open to be read; with its input redirected
// the script does not wait.
std::string RejoinScript::failure_exits() const {
  const std::string name = file("");
  const std::string building = file(building_suffix);
  const std::string failed = "pause" + line_end + "popd" + line_end + "exit /b 1" + line_end;
  return ":part_wrong" + line_end + "echo " + name + " was not made; nothing was changed." + line_end +
         spare_lines("") + failed +
         ":target_exists" + line_end +
         "echo " + name + " exists already here. Move or rename it, then run this again; nothing was changed." +
         line_end + failed +                                                                              //
         ":leftovers" + line_end +
         "echo This script's own files from an earlier run that was cut short (a window closed during the run) are "
         "here:" +
         line_end + "if exist " + building + " echo - " + building + line_end +  //
         "if exist " + file(sums_suffix) + " echo - " + file(sums_suffix) + line_end +
         "echo They may be deleted: delete them, then run this again. Nothing was changed." + line_end + failed +  //
         // A name or path too long for copy leaves no file behind; a failure later in
         // the copy leaves part of one.
         ":copy_failed" + line_end +  //
         "if exist " + file(building_suffix, true) + " echo Copying into " + building +
         " failed: it is incomplete. Delete it, mend the cause above and run this again." + line_end +  //
         "if not exist " + file(building_suffix, true) +
         " echo Copying the parts failed: nothing was made. Mend the cause above and run this again." + line_end +
         "echo Should it say that a name or path is too long, copy this folder nearer the root of a drive (such as "
         "C:\\parts) and run this script there." +
         line_end + failed +  //
         ":size_wrong" + line_end +
         "echo The rebuilt file is %size% bytes long, not " + std::to_string(total_size()) +
         " as the original: the copy went wrong." + line_end + removal(building_suffix) +  //
         "echo " + name + " was not made. Run this script again." + line_end + failed +     //
         ":rename_failed" + line_end + "echo The rebuilt file could not be renamed to " + name + ": it is " +
         building + " here. Rename it yourself." + line_end + removal(sums_suffix) + failed +  //
         // Nothing was pushed: no popd.
         ":no_folder" + line_end +
         "echo This script cannot work in its own folder \"%~dp0\". Copy that folder to a local disk and run it "
         "there." +
         line_end + "pause" + line_end + "exit /b 1" + line_end;
}

// A volume beside the parts rebuilds any one part; without it, a script made with a
// spare, or an index beside it, says that the sender has the volume to send.
std::string RejoinScript::spare_lines(const std::string& condition) const {
  const std::string volume = file(".vol0+1.par2");
  return condition + "if exist " + volume + " echo " + volume +
         " is here: it can rebuild one missing or damaged part. Open " + file(".par2") +
         " with MultiPar, or run par2 r " + file(".par2") + ", then run this script again." + line_end +
         condition + "if not exist " + volume + (spare_made ? "" : " if exist " + file(".par2")) +
         " echo The sender made a spare, " + volume +
         ", which can rebuild any one part: ask for it instead of the part." + line_end;
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
  add(head(length()));
  for (std::int32_t number = 1; number <= part_count; ++number) add(checks(number));
  add(guards());
  // Each copy line is checked: a later append that failed would otherwise end well
  // over a cut file.
  for_each_copy_line([&](std::int32_t first, std::int32_t last, std::uint64_t) {
    add(copy_line(first, last) + line_end + copy_check);
  });
  add(size_check() + proof(digests.whole) + search(lines_before_data()) + failure_exits());
  // The parts' digests stand after the last way out: read only when the file is wrong.
  for (std::int32_t number = 1; number <= part_count; ++number) {
    add(data_line(number, digests.parts[static_cast<std::size_t>(number - 1)]));
  }
  return ok && (pending.empty() || sink(pending));
}

std::uint64_t RejoinScript::lines_before_data() const {
  const auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
  std::uint64_t copy_lines = 0;
  for_each_copy_line([&](std::int32_t, std::int32_t, std::uint64_t) { ++copy_lines; });
  const std::uint64_t fixed = lines(head(0) + guards() + size_check() + proof({}) + search(0) + failure_exits());
  // The first part's checks may say more than the others'.
  return fixed + lines(checks(1)) + static_cast<std::uint64_t>(part_count - 1) * lines(checks(2)) +
         copy_lines * lines(line_end + copy_check);
}

// The script names its own length, in digits that count in it: the length with a
// one-digit number, less that digit, plus as many digits as the whole then has.
std::uint64_t RejoinScript::length() const {
  const std::uint64_t without_number = length_with_number_zero() - 1;
  std::int64_t number_digits = 1;
  while (digits(static_cast<std::int64_t>(without_number) + number_digits) != number_digits) ++number_digits;
  return without_number + static_cast<std::uint64_t>(number_digits);
}

std::uint64_t RejoinScript::length_with_number_zero() const {
  const auto kind = [this](std::int32_t number) {
    return std::tuple{number == 1, digits(number), part_size_of(number)};
  };
  const Sha256Digest any_digest{};
  std::uint64_t total =
      head(0).size() + guards().size() + size_check().size() + proof(any_digest).size() +
      search(lines_before_data()).size() + failure_exits().size() +
      sum_of_lengths(part_count, kind, [this](std::int32_t number) { return checks(number).size(); }) +
      sum_of_lengths(part_count, digits,
                     [&](std::int32_t number) { return data_line(number, any_digest).size(); });
  for_each_copy_line([&](std::int32_t, std::int32_t, std::uint64_t length) {
    total += length + line_end.size() + copy_check.size();
  });
  return total;
}
