#pragma once
// Writes a document of the host's DOM implementation as text (internal to
// host/xml); the layout is described in KORXMLTextWriter.h.
#include "system/KORString.h"
#include "xml/KORXMLTextWriter.h"

#include <optional>

class KORDOMDocumentNode;

// iEncoding, when given, is named in the XML declaration.
KORUnicodeString KORWriteDOMDocument(const KORDOMDocumentNode& iDocument,
                                     const std::optional<KORUnicodeString>& iEncoding);
