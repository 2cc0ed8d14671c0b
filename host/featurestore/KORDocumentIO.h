#pragma once
// Saving a document to one JSON file and loading it back (format
// "kor-document/1", described for users in docs/document-format.md).
//
// KORSaveDocument writes every feature container in order: its late type,
// super type, user id, native format, open catalogs and project flags (those
// the container's KORIProjectFlag gives on write, else its stored flags),
// then its features in container order with every valued attribute. Links are
// written as UUID texts; a single link that does not resolve is left out, an
// empty or dead entry of a link list is written as null so that positions
// survive. The same document always gives the same bytes. The file is
// replaced atomically: on failure the previous file is left as it was and
// oError names the path and the reason.
//
// KORLoadDocument checks the whole file before building anything; a refused
// file leaves oDocument null and oError says what is wrong and where, as a
// JSON path ("containers[0].features[3].attributes.PixelWidth"). After
// building, each container that answers KORInit gets Init(false). Besides
// the value types, each value must fit what the catalog allows of its
// attribute (range, count, the types a link reaches); a refusal names the
// attribute and the feature (type, name, UUID). Nesting deeper than
// KORJsonMaxDepth is refused with its line and column before parsing.
//
// KORLoadDocumentText does the same with text already read; iOrigin stands
// for the file in messages.
#include "featurestore/KORDocument.h"

#include <string>
#include <string_view>

inline constexpr char KORDocumentFormat[] = "kor-document/1";

[[nodiscard]] HRESULT KORSaveDocument(KORDocument& iDocument, const std::string& iPath,
                                      std::string& oError);
[[nodiscard]] HRESULT KORLoadDocument(const std::string& iPath, KORSmartPtr<KORDocument>& oDocument,
                                      std::string& oError);
[[nodiscard]] HRESULT KORLoadDocumentText(std::string_view iText, const std::string& iOrigin,
                                          KORSmartPtr<KORDocument>& oDocument, std::string& oError);
