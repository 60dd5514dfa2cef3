// The part of the rejoin script that proves the file it rebuilt before the file
// gets its name. Windows' own certutil (every Windows since 7) hashes the file built
// under its own name; only a SHA-256 that is the original's gives it the target's
// name. Should it differ, each part is hashed the same way to name the damaged ones.
// Whatever keeps certutil from answering (missing, blocked, failing, silent) is
// never taken for damage: the file then gets its name as the sizes allow, and the
// script says its content was not checked.
#include "split/rejoin_script.h"

#include "split/batch_text.h"

using batch_text::line_end;
using batch_text::percent_doubled;
using batch_text::quoted;

namespace {

const std::string pause_and_leave = "pause" + line_end + "popd" + line_end;

// By its full path, so that a certutil lying beside the parts never runs, and the
// file after ".\", so that a name beginning with "-" is never taken for an option.
// Its output goes to a file of this run's own: read back by "for /f" from a file, it
// is never parsed as a command, as "for /f ('...')" would parse it in a second cmd.
std::string hash_command(const std::string& quoted_file) {
  return "\"%SystemRoot%\\System32\\certutil.exe\" -hashfile " + quoted_file + " SHA256 >\"%sums%\"" + line_end;
}

// Gives the built file the target's name, checked: "ren" fails on a name taken since.
std::string rename_lines(const std::string& building_name, const std::string& target_name) {
  return "ren " + quoted(".\\" + building_name) + " " + quoted(target_name) + line_end +
         "if errorlevel 1 goto rename_failed" + line_end;
}

}  // namespace

std::string RejoinScript::proof(const Sha256Digest& whole) const {
  const std::string name = quoted(target_name);
  const std::string rename = rename_lines(building_name(), target_name);
  const std::string leave = "popd" + line_end + "exit /b 0" + line_end;
  // certutil fails on an empty file, and the sizes prove it whole.
  if (target_empty()) return rename + "echo " + name + " is complete: it is empty, as the original was." + line_end + leave;
  return ":pick_sums" + line_end +                                               //
         "set \"sums=%TEMP%\\parcelor-%RANDOM%%RANDOM%.txt\"" + line_end +      //
         "if exist \"%sums%\" goto pick_sums" + line_end +                      //
         "echo Checking the content of " + name + "..." + line_end +            //
         hash_command(quoted(".\\" + building_name())) +                        //
         "call :verdict %errorlevel% " + hex_of(whole) + line_end +             //
         "if \"%verdict%\"==\"damaged\" goto file_wrong" + line_end +           //
         "if \"%verdict%\"==\"unchecked\" goto not_checked" + line_end +        //
         rename + "del \"%sums%\"" + line_end +                                 //
         "echo " + name + " is complete: its content is the original's, checked with SHA-256." + line_end + leave;
}

// A file whose content could not be checked gets its name all the same, as a script
// that checks sizes only would have given it; one whose content differs does not.
std::string RejoinScript::search_head() const {
  const std::string name = quoted(target_name);
  return ":not_checked" + line_end +                                                       //
         "echo The content of " + name + " could not be checked: %why%." + line_end +      //
         rename_lines(building_name(), target_name) +                                      //
         "del \"%sums%\"" + line_end +                                                     //
         "echo " + name + " is made; only the sizes of its parts were checked." + line_end +  //
         pause_and_leave + "exit /b 0" + line_end +                                        //
         ":file_wrong" + line_end +                                                        //
         "echo The content of the rebuilt file differs from the original's. Looking for the damaged parts..." +
         line_end +  //
         "set \"damaged=\"" + line_end;
}

// Only digits stand after "call": the part's name is made inside the subroutine.
std::string RejoinScript::part_search(std::int32_t number, const Sha256Digest& digest) const {
  return "call :check_part " + std::to_string(number) + " " + hex_of(digest) + line_end;
}

// "del" says nothing of a file it could not remove: the file itself is asked.
std::string RejoinScript::search_tail() const {
  const std::string building = quoted(".\\" + building_name());
  return "if not defined damaged echo Every part is intact: the copy itself went wrong. Run this script again." +
         line_end +                                                                                 //
         "del " + building + line_end +                                                             //
         "if exist " + building + " echo " + quoted(building_name()) +
         " could not be deleted: delete it yourself." + line_end +                                 //
         "del \"%sums%\"" + line_end +                                                              //
         "echo " + quoted(target_name) + " was not made." + line_end + pause_and_leave + "exit /b 1" + line_end;
}

// :check_part NUMBER DIGEST hashes one part. :verdict CERTUTIL_EXIT DIGEST reads what
// certutil wrote: "intact", "damaged", or "unchecked" with the reason in %why%. Its
// failure codes are negative, so the exit code is compared as text. The hash stands
// on the line after the header in every form certutil prints (64 hex digits since
// Windows 10, 32 pairs with blanks before, headers in the system's language); a
// line that is not exactly 64 hex digits once its blanks are gone is no hash at all.
std::string RejoinScript::subroutines() const {
  const std::string part = "\"" + percent_doubled(target_name) + "_%~1\"";
  const std::string part_file = "\".\\" + percent_doubled(target_name) + "_%~1\"";
  std::string text = ":check_part" + line_end + hash_command(part_file) +                       //
                     "call :verdict %errorlevel% %~2" + line_end +                              //
                     "if \"%verdict%\"==\"damaged\" set \"damaged=yes\"" + line_end +            //
                     "if \"%verdict%\"==\"damaged\" echo Part " + part +
                     " is damaged: its content differs from the original." + line_end +        //
                     "if \"%verdict%\"==\"unchecked\" echo Part " + part + " was not checked: %why%." + line_end +
                     "exit /b 0" + line_end +  //
                     ":verdict" + line_end +   //
                     "set \"verdict=unchecked\"" + line_end +
                     "set \"why=certutil.exe ended with code %~1\"" + line_end +  //
                     "if not \"%~1\"==\"0\" exit /b 0" + line_end +                 //
                     "set \"why=certutil.exe wrote no SHA-256\"" + line_end +       //
                     "set \"hash_line=\"" + line_end +                              //
                     "for /f \"usebackq skip=1 delims=\" %%h in (\"%sums%\") do if not defined hash_line set "
                     "\"hash_line=%%h\"" +
                     line_end +                                         //
                     "if not defined hash_line exit /b 0" + line_end +  //
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
