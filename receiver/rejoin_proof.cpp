// The part of the rejoin script that proves the file it rebuilt before the file
// gets its name. Windows' own certutil (every Windows since 7) hashes the file built
// under its own name; only a SHA-256 that is the original's gives it the target's
// name. Should it differ, each part is hashed the same way to name the damaged ones.
// Whatever keeps certutil from answering (missing, blocked, failing, silent) is
// never taken for damage: the file then gets its name as the sizes allow, and the
// script says its content was not checked.
#include "receiver/rejoin_script.h"

#include "receiver/batch_text.h"

using batch_text::line_end;

namespace {

const std::string pause_and_leave = "pause" + line_end + "popd" + line_end;
// The search says how far it is after every so many parts: each costs a certutil
// start, tens of milliseconds on Windows and more under look-alikes.
constexpr int parts_a_report = 100;

// By its full path, so that a certutil lying beside the parts never runs, and the
// file after ".\", so that a name beginning with "-" is never taken for an option.
// Its output goes to a file of this run's own beside the parts: another run beside
// it rebuilds another file and writes another name, and read back by "for /f" from a
// file, the output is never parsed as a command, as "for /f ('...')" would parse it
// in a second cmd.
std::string hash_command(const std::string& quoted_file, const std::string& quoted_sums) {
  return "\"%SystemRoot%\\System32\\certutil.exe\" -hashfile " + quoted_file + " SHA256 >" + quoted_sums + line_end;
}

}  // namespace

// Gives the built file the target's name, checked: "ren" fails on a name taken since.
std::string RejoinScript::rename_lines() const {
  return "ren " + file(building_suffix, true) + " " + file("") + line_end + "if errorlevel 1 goto rename_failed" +
         line_end;
}

std::string RejoinScript::proof(const Sha256Digest& whole) const {
  const std::string name = file("");
  // A window opened by a double-click stays open to be read, on the good way too.
  const std::string leave = pause_and_leave + "exit /b 0" + line_end;
  // certutil fails on an empty file, and the sizes prove it whole.
  if (target_empty()) {
    return rename_lines() + "echo " + name + " is complete: it is empty, as the original was." + line_end + leave;
  }
  return "echo Checking the content of " + name + "..." + line_end +                  //
         hash_command(file(building_suffix, true), file(sums_suffix)) +              //
         "call :verdict %errorlevel% " + hex_of(whole) + line_end +                  //
         "if \"%verdict%\"==\"damaged\" goto file_wrong" + line_end +                //
         "if \"%verdict%\"==\"unchecked\" goto not_checked" + line_end +             //
         rename_lines() + removal(sums_suffix) +                                     //
         "echo " + name + " is complete: its content is the original's, checked with SHA-256." + line_end + leave;
}

// A file whose content could not be checked gets its name all the same, as a script
// that checks sizes only would have given it; one whose content differs does not.
// The search hashes the parts named by the data lines after the script's last line,
// read in one pass: a "call" from one line each would look for its label past every
// line after it, and cmd would read the digests' lines over and over. The labels
// called stand right after the loop, where cmd finds them at once. A script whose
// name holds a "%" reads itself by that name, written literally: an interpreter that
// expands a variable's value twice would lose the "%" from %script%.
std::string RejoinScript::search(std::uint64_t lines_before_data) const {
  const std::string name = file("");
  const std::string count = std::to_string(part_count);
  const std::string part = file("_%~1");
  const bool percent_in_name = !named_by_itself && target_name.find(L'%') != std::wstring::npos;
  const std::string itself =
      percent_in_name ? "\"" + batch_text::percent_doubled(script_name()) + "\"" : std::string("\"%script%\"");
  return ":not_checked" + line_end +                                                                 //
      "echo The content of " + name + " could not be checked: %why%." + line_end + rename_lines() +  //
      removal(sums_suffix) +                                                                     //
      "echo " + name + " is made; only its size and the sizes of its parts were checked." + line_end +          //
      pause_and_leave + "exit /b 0" + line_end +                                                  //
      ":file_wrong" + line_end +                                                                  //
      "echo The content of the rebuilt file differs from the original's. Looking for the damaged parts..." +
      line_end +  //
      "echo Each of the " + count + " parts is checked in turn, which takes a while for many parts." + line_end +
      "set \"damaged=\"" + line_end + "set \"unchecked=\"" + line_end + "set \"searched=0\"" + line_end +
      "set \"until_report=" + std::to_string(parts_a_report) + "\"" + line_end +
      "for /f \"usebackq skip=" + std::to_string(lines_before_data) + " tokens=1,2\" %%a in (" + itself +
      ") do call :check_part %%a %%b" + line_end +  //
      "goto searched" + line_end +
      // :check_part NUMBER DIGEST hashes one part.
      ":check_part" + line_end + hash_command(file("_%~1", true), file(sums_suffix)) +  //
      "call :verdict %errorlevel% %~2" + line_end +                                                      //
      "set /a searched+=1" + line_end +                                                                  //
      "if \"%verdict%\"==\"damaged\" set \"damaged=yes\"" + line_end +                                    //
      "if \"%verdict%\"==\"damaged\" echo Part " + part + " is damaged: its content differs from the original." +
      line_end +                                                                                          //
      "if \"%verdict%\"==\"unchecked\" set \"unchecked=yes\"" + line_end +                               //
      "if \"%verdict%\"==\"unchecked\" echo Part " + part + " was not checked: %why%." + line_end +       //
      // Counted down, not as a remainder: "%%" is read differently by look-alikes.
      "set /a until_report-=1" + line_end +                                                              //
      "if \"%until_report%\"==\"0\" echo Checked %searched% of " + count + " parts..." + line_end +       //
      "if \"%until_report%\"==\"0\" set \"until_report=" + std::to_string(parts_a_report) + "\"" + line_end +
      "exit /b 0" + line_end + verdict() +                                                               //
      // A script cut short, or renamed from a name with a "%", reads fewer lines.
      ":searched" + line_end +                                                                           //
      "if not \"%searched%\"==\"" + count + "\" set \"unchecked=yes\"" + line_end +                      //
      "if not \"%searched%\"==\"" + count + "\" echo Only %searched% of the " + count +
      " parts' SHA-256 values could be read from this script itself." + line_end +  //
      "if not defined damaged if not defined unchecked echo Every part is intact: the copy itself went wrong. Run "
      "this script again." +
      line_end +  //
      "if not defined damaged if defined unchecked echo No part checked was damaged, but not every part could be "
      "checked, as said above: the damaged part was not found." +
      line_end +  //
      spare_lines("if defined damaged ") + removal(building_suffix) + removal(sums_suffix) + "echo " + name +
      " was not made." + line_end + pause_and_leave + "exit /b 1" + line_end;
}

// Only digits and hex digits, which reach "call" from the search's loop.
std::string RejoinScript::data_line(std::int32_t number, const Sha256Digest& digest) const {
  return std::to_string(number) + " " + hex_of(digest) + line_end;
}

// :verdict CERTUTIL_EXIT DIGEST reads what certutil wrote: "intact", "damaged", or
// "unchecked" with the reason in %why%. Its failure codes are negative, so the exit
// code is compared as text. The hash stands on the line after the header in every
// form certutil prints (64 hex digits since Windows 10, 32 pairs with blanks before,
// headers in the system's language); a line that is not exactly 64 hex digits once
// its blanks are gone is no hash at all.
std::string RejoinScript::verdict() const {
  std::string text = ":verdict" + line_end +  //
                     "set \"verdict=unchecked\"" + line_end +
                     "set \"why=certutil.exe ended with code %~1\"" + line_end +  //
                     // The codes whose meaning is known: the interpreter's own for a
                     // program it cannot start, and Windows' errors as certutil gives them.
                     "if \"%~1\"==\"9009\" set \"why=the command interpreter could not find or start certutil.exe "
                     "(code 9009)\"" +
                     line_end +
                     "if \"%~1\"==\"-2147024891\" set \"why=certutil.exe was denied access to the file (code "
                     "0x80070005)\"" +
                     line_end +
                     "if \"%~1\"==\"-2147024864\" set \"why=another program is using the file (certutil.exe ended with "
                     "code 0x80070020)\"" +
                     line_end +
                     "if not \"%~1\"==\"0\" exit /b 0" + line_end +                 //
                     "set \"why=certutil.exe wrote no SHA-256\"" + line_end +       //
                     "set \"hash_line=\"" + line_end +                              //
                     "for /f \"usebackq skip=1 delims=\" %%h in (" + file(sums_suffix) +
                     ") do if not defined hash_line set \"hash_line=%%h\"" + line_end +  //
                     "if not defined hash_line exit /b 0" + line_end +                    //
                     // The leading x keeps both defined, whatever is taken away.
                     "set \"digits=x%hash_line: =%\"" + line_end +  //
                     "set \"rest=%digits%\"" + line_end;
  for (const char digit : std::string("0123456789abcdef")) {
    text += std::string("set \"rest=%rest:") + digit + "=%\"" + line_end;
  }
  return text + "if not \"%rest%\"==\"x\" exit /b 0" + line_end +  //
         "if \"%digits:~64,1%\"==\"\" exit /b 0" + line_end +      //
         "if not \"%digits:~65%\"==\"\" exit /b 0" + line_end +    //
         "set \"verdict=damaged\"" + line_end +                    //
         "if /i \"%digits%\"==\"x%~2\" set \"verdict=intact\"" + line_end + "exit /b 0" + line_end;
}
