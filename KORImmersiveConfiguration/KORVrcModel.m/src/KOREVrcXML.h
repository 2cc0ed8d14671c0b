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
#include <vector>

class KORIVrcConfigure;
class KOREVrcConfigure;

// A runtime file generated for the XML document: the multipipe file ("MPK"),
// the display file ("FSConfig") or the daemon file of a tracking station
// ("ConfigFile"), with what its generator returned.
struct KORVrcGeneratedFile {
  const char* tag = "";
  KORBaseUnknown_var station; // for a daemon file only
  HRESULT result = E_FAIL;
  KORUnicodeString text;
  KORUnicodeString messages;
};

class KOREVrcXML : public KORExtensionOf<KORIVrcXML> {
public:
  HRESULT CreateXMLConfigFile(KORUnicodeString& oText, KORUnicodeString& oMessages) override;
  // The same, and oGenerated receives every runtime file generated on the
  // way, so that an export writing them beside the document need not
  // generate them again.
  HRESULT CreateXMLConfigFile(KORUnicodeString& oText, KORUnicodeString& oMessages,
                              std::vector<KORVrcGeneratedFile>& oGenerated);
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
  // iStation is the station of a daemon file.
  using Generator = std::function<HRESULT(KORIVrcConfigure&, std::ostream&, KORUnicodeString&)>;
  Element MakeEmbeddedFileNode(KORIDOMNode* iParent, const char* iTag, bool iOnlyOnSuccess,
                               KORBaseUnknown* iStation, const Generator& iGenerate);

  // The document under construction, kept until the next call.
  KORIDOMDocument_var _document;
  // The generators' messages during one call.
  KORUnicodeString _messages;
  // Where the generated files go during one call that asks for them.
  std::vector<KORVrcGeneratedFile>* _generated = nullptr;
  // The configuration's writers during one call, which remember each
  // window's rendering for the window elements and the embedded files alike.
  KOREVrcConfigure* _configure = nullptr;
};
