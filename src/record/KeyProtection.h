// The registry keys an uninstall may delete, whatever its record says: the record lies in a folder
// an ordinary user may be able to write, and the uninstall runs with administrator rights. The
// rules, in the order they are tried (names without regard to case; every HKEY_USERS\<user> is
// judged as HKEY_CURRENT_USER, HKEY_USERS\<user>_Classes and each user's and the machine's
// Software\Classes as HKEY_CLASSES_ROOT, and a Wow6432Node right below SOFTWARE or a class root is
// looked through, so the 32-bit views keep the same rules):
//
//   classes  <ext>_auto_file and below                     may go (the class the product made)
//   classes  .<ext>                                        its association is undone (below)
//   classes  *, AllFilesystemObjects, Directory, Drive,
//            Folder, DesktopBackground, Directory\Background
//            and SystemFileAssociations\<type>:
//            ...\shell\<verb> and below, ...\shellex\<kind>\<handler> and below   may go
//   classes  anything else: the root, a class, an extension's keys, CLSID, Interface, TypeLib,
//            AppID, MIME, other programs' classes                             Windows' or theirs
//   machine  SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\<this product's entry> may go
//   machine, user  SOFTWARE\Microsoft, SOFTWARE\Policies\Microsoft, SOFTWARE\Clients,
//   SOFTWARE\ODBC,
//            SOFTWARE\RegisteredApplications and all below them, SOFTWARE\Policies   Windows'
//   machine, user  SOFTWARE\<vendor> and below                                may go
//   machine, user  the root, SOFTWARE, and everything outside SOFTWARE (SYSTEM, Control Panel, ...)
//                                                                             Windows'
//   users    HKEY_USERS and each user's key                                   Windows'
//
// An extension key's association is undone rather than deleted: when its unnamed value names the
// extension's "<ext>_auto_file" class, that value goes, and the key too when nothing else is left
// in it (Windows keeps its own values and keys there, such as Content Type and ShellNew). An
// extension whose value names another class is not the product's and stays.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/Platform.h"

namespace orv {

// The names of key, upper case and joined by "\", when it names one key right below the Uninstall
// branch (an uninstall entry); empty otherwise.
std::string UninstallEntryOf(const Platform& platform, std::string_view key);

enum class KeyVerdict {
  kDelete,           // the key may go with all it holds
  kUndoAssociation,  // only the product's association: the unnamed value, then an empty key
  kProtected,        // Windows' or another product's: it stays
};

// What may become of the key at path under root. productEntry is this product's own uninstall
// entry, as UninstallEntryOf gives it (empty: none), which may go.
KeyVerdict JudgeKey(const Platform& platform, RegistryRoot root, std::string_view path,
                    std::string_view productEntry);

}  // namespace orv
