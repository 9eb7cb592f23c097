// The registry keys an uninstall may delete: the record lies in a folder an ordinary user may be
// able to write, and the uninstall runs with administrator rights. A record the setup run wrote
// (verified by its entry's digest) may delete what the table lets it; any other record only the
// product's own uninstall entry. Names are compared without regard to case; every
// HKEY_USERS\<user> is judged as HKEY_CURRENT_USER, HKEY_USERS\<user>_Classes and each user's and
// the machine's Software\Classes as HKEY_CLASSES_ROOT; a Wow6432Node right below SOFTWARE or a
// class root is looked through and puts the key in the 32-bit view. The rules, in the order they
// are tried:
//
//   machine  SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\<entry> and below, either view:
//            the product's own entry, in the view it was found in           may go (any record)
//            every other entry, and the branch                               other products'
//   any record that is not verified: every other key                        stays
//   classes  <ext>_auto_file and below                          may go (the class the product made)
//   classes  .<ext>                                             its association is undone (below)
//   classes  Applications\<name> and below, CLSID\{guid} and below        may go
//   classes  *, AllFilesystemObjects, Directory, Directory\Background, Drive, Folder,
//            DesktopBackground and SystemFileAssociations\<type>:
//            ...\shell\<verb> and ...\shellex\<kind>\<handler>, and below   may go, but
//            Windows' own verbs and handlers (open, edit, print, runas, cmd, Open With, ...)
//   classes  a ProgID (<vendor>.<name>, the first part not Windows')        may go
//   classes  anything else: the root, a class, an extension's keys, CLSID itself, Interface,
//            TypeLib, AppID, MIME, Windows' ProgIDs                          Windows' or theirs
//   machine, user  SOFTWARE\Policies and all below it                       administrators'
//   machine, user  SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\<name> and below  may go
//   machine, user  SOFTWARE\Microsoft, SOFTWARE\Clients, SOFTWARE\ODBC,
//            SOFTWARE\RegisteredApplications and all else below them        Windows'
//   machine, user  SOFTWARE\<vendor> and below                              may go
//   machine, user  the root, SOFTWARE, and everything outside SOFTWARE (SYSTEM, Control Panel, ...)
//                                                                           Windows'
//   users    HKEY_USERS and each user's key                                 Windows'
//
// An extension key's association is undone rather than deleted: when its unnamed value names the
// extension's "<ext>_auto_file" class, that value goes, and the key too when nothing else is left
// in it (Windows keeps its own values and keys there, such as Content Type and ShellNew). An
// extension whose value names another class is not the product's and stays.
#pragma once

#include <string>
#include <string_view>

#include "common/Platform.h"

namespace orv {

// The names of key, upper case and joined by "\", when it names one key right below the Uninstall
// branch (an uninstall entry); empty otherwise.
std::string UninstallEntryOf(const Platform& platform, std::string_view key);

// The product's own uninstall entry, as the uninstaller found it: the one whose command names the
// record.
struct ProductEntry {
  std::string Name;                       // as UninstallEntryOf gives it; empty: none found
  RegistryView View = RegistryView::k64;  // the view it lies in: k64 or k32
};

enum class KeyVerdict {
  kDelete,           // the key may go with all it holds
  kUndoAssociation,  // only the product's association: the unnamed value, then an empty key
  kProtected,        // Windows', administrators' or another product's: it stays
};

// What may become of the key at path in hive, for a record the setup run wrote (verified) or not.
KeyVerdict JudgeKey(const Platform& platform, RegistryHive hive, std::string_view path,
                    bool verified, const ProductEntry& product);

}  // namespace orv
