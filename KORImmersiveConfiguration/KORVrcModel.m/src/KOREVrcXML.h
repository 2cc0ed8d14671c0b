#pragma once
// The XML configuration document of a configuration root: the element tree
// walked read-only into XML text, with the multipipe, display and
// tracking-daemon files embedded as character data.
#include "interfaces/KORIVrcXML.h"
#include "objectmodel/KORExtension.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class KORIVrcConfigure;
class KORIVrcTrackingStation;
class KOREVrcConfigure;
class KORXMLTextWriter;

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

private:
  // The document is written as it is walked, never built as a tree: nothing
  // reads it back. Each Start... writer starts the element of one kind of
  // model element when iElement answers the kind's interface (false, writing
  // nothing, otherwise), writes its attributes and fixed children and leaves
  // it open for the walked children; the caller ends it.
  using StartWriter = bool (KOREVrcXML::*)(KORBaseUnknown*);

  // Walks the feature tree from iElement: its element, then its children's.
  // Below the document only the configuration root has an element.
  void WriteElementNode(KORBaseUnknown* iElement, bool iBelowDocument);
  // Starts the element of a walked model element of feature type iTypeName
  // (null when unknown); false, writing nothing, for a kind without one.
  bool StartWalkedNode(KORBaseUnknown* iElement, const char* iTypeName);
  // The element of a fixed child, started and ended at once.
  void WriteFixedNode(StartWriter iStart, KORBaseUnknown* iElement);
  bool StartConfigNode(KORBaseUnknown* iElement);
  bool StartGraphicResourcesNode(KORBaseUnknown* iElement);
  bool StartIGNode(KORBaseUnknown* iElement);
  bool StartWindowNode(KORBaseUnknown* iElement);
  bool StartRenderingSpecNode(KORBaseUnknown* iElement);
  bool StartGraphicSpecNode(KORBaseUnknown* iElement);
  bool StartHeadNode(KORBaseUnknown* iElement);
  bool StartViewNode(KORBaseUnknown* iElement);
  bool StartScreenViewNode(KORBaseUnknown* iElement);
  bool StartCameraViewNode(KORBaseUnknown* iElement);
  bool StartDevicesNode(KORBaseUnknown* iElement);
  bool StartHandDeviceNode(KORBaseUnknown* iElement);
  bool StartButtonDeviceNode(KORBaseUnknown* iElement);
  bool StartTrackingStationNode(KORBaseUnknown* iElement);
  bool StartTrackerNode(KORBaseUnknown* iElement);
  void WriteConfigFileNode(KORIVrcTrackingStation* iStation);
  // The multipipe and display files, written only when their generators
  // succeeded.
  void WriteRootFileNodes();

  // The common pattern: element iTag, filled by iFill(writer, model) when
  // iElement answers I.
  template <class I, class Fill>
  bool StartNode(const char* iTag, KORBaseUnknown* iElement, Fill iFill);

  // Runs one generator of the configuration root (text, then messages) for
  // the element iTag; its messages join the accumulated ones. iStation is the
  // station of a daemon file.
  using Generator = std::function<HRESULT(KOREVrcConfigure&, KORUnicodeString&, KORUnicodeString&)>;
  KORVrcGeneratedFile GenerateFile(const char* iTag, KORBaseUnknown* iStation,
                                   const Generator& iGenerate);
  // The element of a generated file, holding its text as character data;
  // with iOnlyOnSuccess only when its generator succeeded.
  void EmbedFile(KORVrcGeneratedFile&& iFile, bool iOnlyOnSuccess);

  // The writer found for each feature type during one call (null for a type
  // without an element).
  std::vector<std::pair<std::string, StartWriter>> _writerOfType;
  // The text under construction during one call.
  KORXMLTextWriter* _writer = nullptr;
  // The generators' messages during one call.
  KORUnicodeString _messages;
  // Where the generated files go during one call that asks for them.
  std::vector<KORVrcGeneratedFile>* _generated = nullptr;
  // The configuration's writers during one call, which remember each
  // window's rendering for the window elements and the embedded files alike.
  KOREVrcConfigure* _configure = nullptr;
};
