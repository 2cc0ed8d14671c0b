#pragma once
// The XML configuration document of a configuration root: the element tree
// walked read-only into a DOM document, with the multipipe, display and
// tracking-daemon files embedded as character data.
#include "interfaces/KORIVrcXML.h"
#include "objectmodel/KORExtension.h"
#include "xml/KORIDOMDocument.h"
#include "xml/KORIDOMElement.h"

#include <functional>
#include <iosfwd>

class KORIVrcConfigure;

class KOREVrcXML : public KORExtensionOf<KORIVrcXML> {
public:
  HRESULT CreateXMLConfigFile(KORUnicodeString& oText, KORUnicodeString& oMessages) override;
  void OnDispose() override { _document.reset(); }

private:
  // Each builder makes the element of one model element under iParent and
  // returns it (null when none was made). They share one pattern (MakeNode):
  // create, fill when the model element answers the kind's interface, append.
  using Element = KORIDOMElement_var;

  // Walks the feature tree from iElement: its element, then its children's.
  Element MakeElementNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeConfigNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeGraphicResourcesNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeIGNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeWindowNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeRenderingSpecNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeGraphicSpecNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeHeadNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeViewNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeScreenViewNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeCameraViewNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeDevicesNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeHandDeviceNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeButtonDeviceNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeTrackingStationNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeTrackerNode(KORIDOMNode* iParent, KORBaseUnknown* iElement);
  Element MakeConfigFileNode(KORIDOMNode* iParent, KORBaseUnknown* iStation);
  Element MakeMPKNode(KORIDOMNode* iParent);
  Element MakeFSConfigNode(KORIDOMNode* iParent);

  // The common pattern: element iTag, filled by iFill(element, model) when
  // iElement answers I, appended to iParent last.
  template <class I, class Fill>
  Element MakeNode(KORIDOMNode* iParent, const char* iTag, KORBaseUnknown* iElement, Fill iFill);

  // Runs one generator of the configuration root; its messages join the
  // accumulated ones. The element iTag holds the generated text as character
  // data; with iOnlyOnSuccess it is made only when the generator succeeded.
  using Generator = std::function<HRESULT(KORIVrcConfigure&, std::ostream&, KORUnicodeString&)>;
  Element MakeEmbeddedFileNode(KORIDOMNode* iParent, const char* iTag, bool iOnlyOnSuccess,
                               const Generator& iGenerate);

  // The document under construction, kept until the next call.
  KORIDOMDocument_var _document;
  // The generators' messages during one call.
  KORUnicodeString _messages;
};
