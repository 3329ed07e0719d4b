#pragma once

#include <string>
#include <string_view>

// The text of an XML file in UTF-8, as the XML reader takes it. A file in UTF-16 (with its
// byte-order mark, or without one when it starts with "<?xml") is converted into `converted`
// and `text` then views that; UTF-8 is viewed as it is, without its byte-order mark. False,
// with the reason, for malformed UTF-16 and for an encoding the declaration names that is
// neither UTF-8 nor UTF-16.
bool XmlTextAsUtf8(std::string_view bytes, std::string& converted, std::string_view& text,
                   std::string& problem);
