#pragma once

#include <string>

// The string table and the few texts that several windows share. All texts are UTF-8; the
// windows convert them to GBK where they hold them.
namespace res {

// The program's title, shown by the main window, the information window and the about box.
inline constexpr const char* kMainTitle = "Termix v1.2 (Vantrel英汉术语词典)";

// The glossary web site: opened by the link labels and named in the empty-list text.
inline constexpr const char* kGlossarySiteAddress = "https://www.uml.org/";

// What screen readers call the banner picture (what it shows) and the program's icon.
inline constexpr const char* kBannerName = "Termix 横幅: Vantrel 英汉术语词典 · UML";
inline constexpr const char* kIconName = "Termix 图标";

// String resource `id` (101: the about entry of the window menu); empty when there is none.
std::string LoadString(int id);

}  // namespace res
