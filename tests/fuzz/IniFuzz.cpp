// The INI engine: any bytes parse; a value written reads back after a save and a fresh parse,
// and every other key keeps its value.
#include <string>

#include "common/IniDocument.h"
#include "fuzz/FuzzPlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orv;
  const Platform& p = fuzz::Platform();
  const std::string_view bytes = fuzz::Bytes(data, size);
  IniDocument document = IniDocument::Parse(p, bytes);
  const auto before = document.Value(p, "DeleteFile", "File2");
  const auto other = document.Value(p, "Title", "UnSetup");
  document.SetValue(p, "DeleteFile", "File2", "C:\\Tool\\表示.TXT,/L");
  const IniDocument again = IniDocument::Parse(p, document.Serialize(p));
  if (again.Value(p, "DeleteFile", "File2") != "C:\\Tool\\表示.TXT,/L") __builtin_trap();
  if (again.Value(p, "Title", "UnSetup") != other) __builtin_trap();
  (void)before;
  return 0;
}
