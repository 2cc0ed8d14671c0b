#pragma once
// Writes a document of the host's DOM implementation as text (internal to
// host/xml); the layout is described in KORIXMLDOMDocumentBuilder.h.
#include "system/KORString.h"

#include <optional>

class KORDOMDocumentNode;

// iEncoding, when given, is named in the XML declaration.
KORUnicodeString KORWriteDOMDocument(const KORDOMDocumentNode& iDocument,
                                     const std::optional<KORUnicodeString>& iEncoding);

// iLiteral between quotes for a <!DOCTYPE>: double quotes unless it holds one,
// then single quotes; nothing when it holds both.
std::optional<KORUnicodeString> KORDOMQuoteLiteral(const KORUnicodeString& iLiteral);
