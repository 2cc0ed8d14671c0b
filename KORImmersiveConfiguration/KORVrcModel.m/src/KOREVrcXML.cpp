// The XML configuration document. Every element follows one pattern
// (StartNode): started when the model element answers the kind's interface,
// filled with its attributes and then its fixed children, and left open for
// the walked children, which therefore come after the fixed ones.
#include "KOREVrcXML.h"

#include "KOREVrcConfigure.h"
#include "KORVrcTools.h"
#include "KORVrcTrace.h"
#include "featurestore/KORISpecObject.h"
#include "interfaces/KORIVrcButtonDevice.h"
#include "interfaces/KORIVrcCameraView.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcConfigure.h"
#include "interfaces/KORIVrcDevices.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORIVrcGraphicSpecs.h"
#include "interfaces/KORIVrcHandDevice.h"
#include "interfaces/KORIVrcHead.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcProjectionArea.h"
#include "interfaces/KORIVrcRendering.h"
#include "interfaces/KORIVrcRenderingSpec.h"
#include "interfaces/KORIVrcScreenView.h"
#include "interfaces/KORIVrcTrackedElement.h"
#include "interfaces/KORIVrcTracker.h"
#include "interfaces/KORIVrcTrackingStation.h"
#include "interfaces/KORIVrcView.h"
#include "interfaces/KORIVrcViewport.h"
#include "interfaces/KORIVrcWindow.h"
#include "system/KORMsgCatalog.h"
#include "system/KORResource.h"
#include "xml/KORXMLTextWriter.h"

#include <array>
#include <memory>
#include <optional>
#include <sstream>
#include <utility>

namespace {

// Writes the attributes of the element just started, in call order. The
// names are literal XML names, which the schema validation of the exported
// documents checks.
class NodeWriter {
public:
  explicit NodeWriter(KORXMLTextWriter& ioWriter) : _writer(ioWriter) {}

  void Text(const char* iName, std::string_view iValue) { _writer.Attribute(iName, iValue); }
  void Number(const char* iName, double iValue) { Text(iName, DoubleToString(iValue)); }
  template <std::size_t N>
  void Numbers(const char* const (&iNames)[N], const std::array<double, N>& iValues) {
    for (std::size_t i = 0; i < N; ++i)
      Number(iNames[i], iValues[i]);
  }
  // The element identifier text of iElement; left out when there is none.
  void Id(const char* iName, KORBaseUnknown* iElement) {
    if (KORVrcIdText id; WriteIdText(iElement, id))
      Text(iName, std::string_view(id.data(), id.size()));
  }
  // X, Y, Z of the translation, then H, P, R of the rotation.
  void Placement(const KORMathTransformation& iPlacement) {
    const KORMathVector& t = iPlacement.GetVector();
    std::array<double, 3> hpr{};
    GetHPR(iPlacement.GetMatrix(), hpr[0], hpr[1], hpr[2]);
    Numbers({"X", "Y", "Z", "H", "P", "R"},
            std::array<double, 6>{t.GetX(), t.GetY(), t.GetZ(), hpr[0], hpr[1], hpr[2]});
  }

private:
  KORXMLTextWriter& _writer;
};

// What a link getter of the model gives (null when it fails).
template <class Owner, class Linked>
KORSmartPtr<Linked> LinkOf(Owner* iOwner, HRESULT (Owner::*iGetter)(Linked**)) {
  KORSmartPtr<Linked> linked;
  if (iOwner)
    KORIgnoreResult((iOwner->*iGetter)(linked.Out()), KORVrcNullWhenUnread);
  return linked;
}

// The name, empty when it cannot be read.
KORUnicodeString NameOf(KORIVrcElement* iElement) {
  return ReadValue(iElement, &KORIVrcElement::GetName);
}

// The location of a tracked element; the identity when it cannot be read.
KORMathTransformation LocationOf(KORBaseUnknown* iElement) {
  KORMathTransformation location;
  if (auto tracked = KORQuery<KORIVrcTrackedElement>(iElement);
      !tracked || FAILED(tracked->GetLocation(location)))
    location = KORMathTransformation();
  return location;
}

// Four values read by iRead; all 0 when the read fails.
template <class Read> std::array<double, 4> FourValues(Read iRead) {
  std::array<double, 4> values{};
  if (FAILED(iRead(values[0], values[1], values[2], values[3])))
    values = {};
  return values;
}

} // namespace

template <class I, class Fill>
bool KOREVrcXML::StartNode(const char* iTag, KORBaseUnknown* iElement, Fill iFill) {
  auto model = KORQuery<I>(iElement);
  if (!model)
    return false;
  _writer->StartElement(iTag);
  NodeWriter node(*_writer);
  iFill(node, model.get());
  return true;
}

void KOREVrcXML::WriteFixedNode(StartWriter iStart, KORBaseUnknown* iElement) {
  if ((this->*iStart)(iElement))
    _writer->EndElement();
}

HRESULT KOREVrcXML::CreateXMLConfigFile(KORUnicodeString& oText, KORUnicodeString& oMessages,
                                        std::vector<KORVrcGeneratedFile>& oGenerated) {
  oGenerated.clear();
  _generated = &oGenerated;
  const HRESULT result = CreateXMLConfigFile(oText, oMessages);
  _generated = nullptr;
  return result;
}

HRESULT KOREVrcXML::CreateXMLConfigFile(KORUnicodeString& oText, KORUnicodeString& oMessages) {
  KORVrcTraceScope scope("KOREVrcXML::CreateXMLConfigFile");
  // Without the DTD no document is made, which fails the export below.
  KORUnicodeString dtdPath;
  if (FAILED(KORGetImagePathName("VrConfig.dtd", dtdPath)))
    dtdPath.clear();
  _messages.clear();
  oMessages.clear();

  KORIVrcConfigure_var configureInterface = QueryImpl<KORIVrcConfigure>();
  _configure = dynamic_cast<KOREVrcConfigure*>(configureInterface.get());
  std::optional<KOREVrcConfigure::RenderingMemo> renderings;
  if (_configure)
    renderings.emplace(*_configure);
  KORUnicodeString text;
  KORXMLTextWriter writer(text);
  writer.Declaration("UTF-8");
  const bool written = !dtdPath.empty() && writer.DocumentType("Config", "", dtdPath);
  if (written) {
    _writer = &writer;
    _writerOfType.clear();
    if (auto root = QueryImpl<KORISpecObject>())
      WriteElementNode(root, /*iBelowDocument=*/true);
    _writer = nullptr;
    writer.End();
    oText = std::move(text);
  }

  oMessages = _messages;
  _configure = nullptr;
  // Warnings leave the export successful; an error of any generator fails it.
  std::shared_ptr<const KORMsgCatalog> catalog;
  KORUnicodeString errorText;
  if (FAILED(KORFindMsgCatalog("KORVrcConfigure", catalog, errorText)))
    return E_FAIL;
  if (!written || FAILED(catalog->BuildMessage("Error", errorText)))
    return E_FAIL;
  return _messages.find(errorText) == KORUnicodeString::npos ? S_OK : E_FAIL;
}

bool KOREVrcXML::StartWalkedNode(KORBaseUnknown* iElement, const char* iTypeName) {
  // Other kinds have no element. Each kind's interface belongs to one element
  // type of the component map, so which writer starts an element depends on
  // its type alone: it is found by trying them on the first element of each
  // type, which spares the failing queries on the others.
  static constexpr StartWriter kKinds[] = {
      &KOREVrcXML::StartConfigNode,
      &KOREVrcXML::StartWindowNode,
      &KOREVrcXML::StartViewNode,
      &KOREVrcXML::StartIGNode,
      &KOREVrcXML::StartTrackerNode,
      &KOREVrcXML::StartRenderingSpecNode,
      &KOREVrcXML::StartTrackingStationNode,
      &KOREVrcXML::StartButtonDeviceNode,
      &KOREVrcXML::StartHandDeviceNode,
      &KOREVrcXML::StartHeadNode,
      &KOREVrcXML::StartDevicesNode,
      &KOREVrcXML::StartGraphicResourcesNode,
      &KOREVrcXML::StartGraphicSpecNode,
  };
  const std::string_view typeName = iTypeName ? iTypeName : "";
  if (iTypeName)
    for (const auto& [type, writer] : _writerOfType)
      if (type == typeName)
        return writer && (this->*writer)(iElement);
  StartWriter found = nullptr;
  for (StartWriter kind : kKinds)
    if ((this->*kind)(iElement)) {
      found = kind;
      break;
    }
  if (iTypeName)
    _writerOfType.emplace_back(typeName, found);
  return found != nullptr;
}

void KOREVrcXML::WriteElementNode(KORBaseUnknown* iElement, bool iBelowDocument) {
  if (!iElement)
    return;
  auto feature = KORQuery<KORISpecObject>(iElement);
  // Below the document only the configuration root has an element.
  const bool started = iBelowDocument
                           ? StartConfigNode(iElement)
                           : StartWalkedNode(iElement, feature ? feature->GetTypeName() : nullptr);
  if (!started)
    return;
  KORListValKORBaseUnknown_var* list = nullptr;
  if (feature)
    KORIgnoreResult(feature->ListChildren(&list), KORVrcNullWhenUnread);
  KOROwnedList children(list);
  if (children)
    for (const KORBaseUnknown_var& child : *children)
      WriteElementNode(child, /*iBelowDocument=*/false);
  // The root's embedded files follow its walked children.
  if (iBelowDocument)
    WriteRootFileNodes();
  _writer->EndElement();
}

bool KOREVrcXML::StartConfigNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcConfig>("Config", iElement,
                                  [](NodeWriter& ioNode, KORIVrcConfig* iConfig) {
                                    KORUuid id;
                                    if (SUCCEEDED(iConfig->GetID(id)))
                                      ioNode.Text("ConfigID", id.ToText());
                                  });
}

bool KOREVrcXML::StartGraphicResourcesNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcGraphicResources>(
      "GraphicResources", iElement, [](NodeWriter& ioNode, KORIVrcGraphicResources* iResources) {
        ioNode.Id("MainWindow", LinkOf(iResources, &KORIVrcGraphicResources::GetMainWindow).get());
      });
}

bool KOREVrcXML::StartIGNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcIG>(
      "IG", iElement, [](NodeWriter& ioNode, KORIVrcIG* iIG) { ioNode.Text("Name", NameOf(iIG)); });
}

bool KOREVrcXML::StartWindowNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcWindow>(
      "Window", iElement, [this](NodeWriter& ioNode, KORIVrcWindow* iWindow) {
        // The view and the rendering spec through the rendering found once,
        // as the window's own getters would look the rendering up again.
        KORIVrcView_var view;
        KORIVrcRenderingSpec_var spec;
        if (_configure) {
          view = _configure->ViewOf(iWindow);
          spec = _configure->SpecOf(iWindow);
        } else if (auto rendering = LinkOf(iWindow, &KORIVrcWindow::GetRendering)) {
          view = LinkOf(rendering.get(), &KORIVrcRendering::GetView);
          spec = LinkOf(rendering.get(), &KORIVrcRendering::GetRenderingSpec);
        }
        ioNode.Text("Name", NameOf(iWindow));
        ioNode.Id("WindowID", iWindow);
        ioNode.Id("View", view);
        // The viewport's values go out in its own order (left, top, width,
        // height) under the names Left, Right, Top, Bottom.
        const auto viewport =
            _configure ? _configure->ViewportOf(iWindow) : KOREVrcConfigure::ReadViewport(iWindow);
        ioNode.Numbers({"Left", "Right", "Top", "Bottom"},
                       viewport.values.value_or(std::array<double, 4>{}));
        if (spec)
          WriteFixedNode(&KOREVrcXML::StartRenderingSpecNode, spec);
      });
}

bool KOREVrcXML::StartRenderingSpecNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcRenderingSpec>("RenderingSpec", iElement,
                                         [](NodeWriter& ioNode, KORIVrcRenderingSpec* iSpec) {
                                           KORVrcRenderingMode mode = KORVrcRenderingMono;
                                           if (FAILED(iSpec->GetRenderingMode(&mode)))
                                             mode = KORVrcRenderingMono;
                                           KORVrcMirrorMode mirror = KORVrcMirrorNone;
                                           if (FAILED(iSpec->GetMirrorMode(&mirror)))
                                             mirror = KORVrcMirrorNone;
                                           ioNode.Number("Rendering", mode);
                                           ioNode.Number("Mirror", mirror);
                                         });
}

bool KOREVrcXML::StartGraphicSpecNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcGraphicSpecs>("GraphicSpecs", iElement,
                                        [](NodeWriter&, KORIVrcGraphicSpecs*) {});
}

bool KOREVrcXML::StartHeadNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcHead>("Head", iElement, [](NodeWriter& ioNode, KORIVrcHead* iHead) {
    ioNode.Id("HeadID", iHead);
    ioNode.Id("Tracker", LinkOf(iHead, &KORIVrcHead::GetViewPointTracker).get());
    ioNode.Number("IPD", ReadValue(iHead, &KORIVrcHead::GetIPD, 0.0));
    ioNode.Placement(LocationOf(iHead));
    ioNode.Number("Type", ReadValue(iHead, &KORIVrcHead::GetType, KORVrcHeadCustom));
  });
}

bool KOREVrcXML::StartViewNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcView>("View", iElement, [this](NodeWriter& ioNode, KORIVrcView* iView) {
    ioNode.Text("Name", NameOf(iView));
    ioNode.Id("ViewID", iView);
    if (StartScreenViewNode(iView) || StartCameraViewNode(iView))
      _writer->EndElement();
  });
}

bool KOREVrcXML::StartScreenViewNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcScreenView>(
      "Screen", iElement, [this](NodeWriter& ioNode, KORIVrcScreenView* iView) {
        // Without a projection area the corners are written at the origin.
        KOREVrcConfigure::AreaCorners corners;
        if (auto area = LinkOf(iView, &KORIVrcScreenView::GetProjectionArea))
          corners = _configure ? _configure->CornersOfArea(area)
                               : KOREVrcConfigure::ReadAreaCorners(area);
        ioNode.Numbers(
            {"ULX", "ULY", "ULZ", "LLX", "LLY", "LLZ", "LRX", "LRY", "LRZ"},
            std::array<double, 9>{corners.ul.GetX(), corners.ul.GetY(), corners.ul.GetZ(),
                                  corners.ll.GetX(), corners.ll.GetY(), corners.ll.GetZ(),
                                  corners.lr.GetX(), corners.lr.GetY(), corners.lr.GetZ()});
      });
}

bool KOREVrcXML::StartCameraViewNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcCameraView>(
      "Camera", iElement, [](NodeWriter& ioNode, KORIVrcCameraView* iView) {
        ioNode.Numbers({"HFOV", "HSHIFT", "VFOV", "VSHIFT"},
                       FourValues([&](double& oA, double& oB, double& oC, double& oD) {
                         return iView->GetAngles(oA, oB, oC, oD);
                       }));
        ioNode.Numbers({"LEFT", "RIGHT", "TOP", "BOTTOM"},
                       FourValues([&](double& oA, double& oB, double& oC, double& oD) {
                         return iView->GetFrustum(oA, oB, oC, oD);
                       }));
      });
}

bool KOREVrcXML::StartDevicesNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcDevices>("Devices", iElement, [](NodeWriter&, KORIVrcDevices*) {});
}

bool KOREVrcXML::StartHandDeviceNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcHandDevice>(
      "HandDevice", iElement, [](NodeWriter& ioNode, KORIVrcHandDevice* iHand) {
        ioNode.Id("HandID", iHand);
        ioNode.Id("Tracker", LinkOf(iHand, &KORIVrcHandDevice::GetPickingTracker).get());
        ioNode.Id("ButtonManager", LinkOf(iHand, &KORIVrcHandDevice::GetButtonManager).get());
        ioNode.Placement(LocationOf(iHand));
        ioNode.Number("Type", ReadValue(iHand, &KORIVrcHandDevice::GetType, KORVrcHandCustom));
      });
}

bool KOREVrcXML::StartButtonDeviceNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcButtonDevice>(
      "ButtonDevice", iElement, [](NodeWriter& ioNode, KORIVrcButtonDevice* iDevice) {
        ioNode.Id("ButtonDeviceID", iDevice);
        ioNode.Text("Name", NameOf(iDevice));
        ioNode.Text("DaemonName", ReadValue(iDevice, &KORIVrcButtonDevice::GetDaemonName));
        ioNode.Number("Type",
                      ReadValue(iDevice, &KORIVrcButtonDevice::GetType, KORVrcButtonCustom));
        const int port = ReadValue(iDevice, &KORIVrcButtonDevice::GetPort);
        const int speed = ReadValue(iDevice, &KORIVrcButtonDevice::GetSpeed);
        // A button device names its serial port the way the
        // runtime opens it.
        ioNode.Text("Port", "COM" + DoubleToString(port));
        ioNode.Number("Speed", speed);
      });
}

bool KOREVrcXML::StartTrackingStationNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcTrackingStation>(
      "TrackingStation", iElement, [this](NodeWriter& ioNode, KORIVrcTrackingStation* iStation) {
        ioNode.Text("Name", NameOf(iStation));
        ioNode.Text("DaemonName", ReadValue(iStation, &KORIVrcTrackingStation::GetDaemonName));
        KORMathTransformation ref;
        if (FAILED(iStation->GetRef(ref)))
          ref = KORMathTransformation();
        ioNode.Placement(ref);
        ioNode.Number("Type",
                      ReadValue(iStation, &KORIVrcTrackingStation::GetType, KORVrcStationCustom));
        ioNode.Number("Port", ReadValue(iStation, &KORIVrcTrackingStation::GetPort));
        WriteConfigFileNode(iStation);
      });
}

bool KOREVrcXML::StartTrackerNode(KORBaseUnknown* iElement) {
  return StartNode<KORIVrcTracker>(
      "Tracker", iElement, [](NodeWriter& ioNode, KORIVrcTracker* iTracker) {
        ioNode.Id("TrackerID", iTracker);
        ioNode.Id("TrackedElement", LinkOf(iTracker, &KORIVrcTracker::GetTrackedElement).get());
        ioNode.Text("Name", NameOf(iTracker));
        KORMathTransformation offset;
        if (FAILED(iTracker->GetOffset(offset)))
          offset = KORMathTransformation();
        ioNode.Placement(offset);
      });
}

void KOREVrcXML::WriteConfigFileNode(KORIVrcTrackingStation* iStation) {
  if (!_configure)
    return;
  // Every station gets its file, even when the generator wrote nothing.
  EmbedFile(GenerateFile("ConfigFile", iStation,
                         [&](KOREVrcConfigure& ioConfigure, KORUnicodeString& oText,
                             KORUnicodeString& oMessages) {
                           std::ostringstream stream;
                           const HRESULT result = ioConfigure.GenerateTrackingStationConfigFile(
                               stream, iStation, oMessages, 1);
                           oText = std::move(stream).str();
                           return result;
                         }),
            /*iOnlyOnSuccess=*/false);
}

namespace {
// The multipipe and display files are made straight into their text.
template <HRESULT (KOREVrcConfigure::*Write)(KORVrcText&, KORUnicodeString&, unsigned char)>
HRESULT MakeFileText(KOREVrcConfigure& ioConfigure, KORUnicodeString& oText,
                     KORUnicodeString& oMessages) {
  KORVrcText text;
  const HRESULT result = (ioConfigure.*Write)(text, oMessages, 1);
  oText = std::move(text).Take();
  return result;
}

// Room for what follows the root's files' text in the document: their tags
// and the root's end.
constexpr std::size_t kAfterRootFilesSize = 256;
} // namespace

void KOREVrcXML::WriteRootFileNodes() {
  if (!_configure)
    return;
  // Both files are made before either is written, so that the document's
  // text grows once to take them rather than by steps, each copying it.
  KORVrcGeneratedFile mpk =
      GenerateFile("MPK", /*iStation=*/nullptr, &MakeFileText<&KOREVrcConfigure::WriteMPKFile>);
  KORVrcGeneratedFile fs =
      GenerateFile("FSConfig", /*iStation=*/nullptr, &MakeFileText<&KOREVrcConfigure::WriteFSFile>);
  _writer->Reserve(mpk.text.size() + fs.text.size() + kAfterRootFilesSize);
  EmbedFile(std::move(mpk), /*iOnlyOnSuccess=*/true);
  EmbedFile(std::move(fs), /*iOnlyOnSuccess=*/true);
}

KORVrcGeneratedFile KOREVrcXML::GenerateFile(const char* iTag, KORBaseUnknown* iStation,
                                             const Generator& iGenerate) {
  KORVrcGeneratedFile file{iTag, KORBaseUnknown_var(iStation), E_FAIL, {}, {}};
  file.result = iGenerate(*_configure, file.text, file.messages);
  _messages += file.messages;
  return file;
}

void KOREVrcXML::EmbedFile(KORVrcGeneratedFile&& iFile, bool iOnlyOnSuccess) {
  if (!iOnlyOnSuccess || SUCCEEDED(iFile.result)) {
    _writer->StartElement(iFile.tag);
    _writer->CharacterData(iFile.text);
    _writer->EndElement();
  }
  // Last, so that the text can move there rather than be copied.
  if (_generated)
    _generated->push_back(std::move(iFile));
}
