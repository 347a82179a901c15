#pragma once

// Dialog and control identifiers of the shared folder browser. Each widget carries its id
// (see control_id.h) so that callers and tests find controls as the dialog templates name them.
namespace corvelle {

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Quenset's folder dialog and its tree.
inline constexpr int IDD_QUENSET_FOLDER_PICK = 132;
inline constexpr int IDC_QUENSET_FOLDER_TREE = 1017;

// Brevoll's folder dialog and its tree.
inline constexpr int IDD_BREVOLL_FOLDER_PICK = 130;
inline constexpr int IDC_BREVOLL_FOLDER_TREE = 1016;

}  // namespace corvelle
