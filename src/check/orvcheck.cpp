// orvcheck: the author's tool. This entry knows only the dry run:
//   orvcheck --dry-run DISK [DISK2 ...] [--folder PATH] [--no-desktop] [--no-startmenu]
//            [--no-startup] [--no-sendto] [--no-overwrite] [--answer no] [--json]
#include <iostream>
#include <string_view>

#include "check/DryRun.h"

int main(int argc, char** argv) {
  orv::DryRunOptions options;
  bool dryRun = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--dry-run") {
      dryRun = true;
    } else if (argument == "--folder" && hasValue) {
      options.Folder = argv[++i];
    } else if (argument == "--answer" && hasValue && std::string_view(argv[i + 1]) == "no") {
      options.AnswerYes = false;
      ++i;
    } else if (argument == "--no-desktop") {
      options.Boxes.Desktop = false;
    } else if (argument == "--no-startmenu") {
      options.Boxes.StartMenu = false;
    } else if (argument == "--no-startup") {
      options.Boxes.StartUp = false;
    } else if (argument == "--no-sendto") {
      options.Boxes.SendTo = false;
    } else if (argument == "--no-overwrite") {
      options.Boxes.OverWrite = false;
    } else if (argument == "--json") {
      options.Json = true;
    } else if (!argument.starts_with("--")) {
      options.Disks.emplace_back(argument);
    } else {
      std::cerr << "orvcheck: unknown option " << argument << '\n';
      return 2;
    }
  }
  if (!dryRun) {
    std::cerr << "usage: orvcheck --dry-run DISK [DISK2 ...] [options]\n";
    return 2;
  }
  return orv::RunDryRun(options, std::cout);
}
