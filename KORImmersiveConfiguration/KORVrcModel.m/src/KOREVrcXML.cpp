// The XML configuration document. Every builder follows one pattern
// (MakeNode): the element is created through the document, filled from the
// model element when that answers the kind's interface, and appended to its
// parent last, so that its fixed children come before the walked ones.
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
#include "xml/KORIDOMCDATASection.h"
#include "xml/KORIDOMDocumentType.h"
#include "xml/KORIDOMImplementation.h"
#include "xml/KORIXMLDOMDocumentBuilder.h"

#include <array>
#include <memory>
#include <optional>
#include <sstream>
#include <utility>

namespace {

// The DOM refuses an attribute or a child only for a name that is no XML
// name or a child that cannot go there; the names below are literals and the
// children fit, which the schema validation of the exported documents checks.
constexpr char kLiteralNames[] = "literal XML names and fitting children are never refused";

// Sets the attributes and character data of one element, in call order.
class NodeWriter {
public:
  NodeWriter(KORIDOMDocument* iDocument, KORIDOMElement* iElement)
      : _document(iDocument), _element(iElement) {}

  KORIDOMElement* Element() const { return _element; }

  void Text(const char* iName, const KORUnicodeString& iValue) {
    KORIgnoreResult(_element->SetAttribute(iName, iValue), kLiteralNames);
  }
  void Number(const char* iName, double iValue) { Text(iName, DoubleToString(iValue)); }
  template <std::size_t N>
  void Numbers(const char* const (&iNames)[N], const std::array<double, N>& iValues) {
    for (std::size_t i = 0; i < N; ++i)
      Number(iNames[i], iValues[i]);
  }
  // The element identifier text of iElement; left out when there is none.
  void Id(const char* iName, KORBaseUnknown* iElement) {
    const KOROwned<KORUnicodeString> id(iElement ? ConvertUuidToUString(iElement) : nullptr);
    if (id)
      Text(iName, *id);
  }
  // X, Y, Z of the translation, then H, P, R of the rotation.
  void Placement(const KORMathTransformation& iPlacement) {
    const KORMathVector& t = iPlacement.GetVector();
    std::array<double, 3> hpr{};
    GetHPR(iPlacement.GetMatrix(), hpr[0], hpr[1], hpr[2]);
    Numbers({"X", "Y", "Z", "H", "P", "R"},
            std::array<double, 6>{t.GetX(), t.GetY(), t.GetZ(), hpr[0], hpr[1], hpr[2]});
  }
  void CharacterData(const KORUnicodeString& iData) {
    KORIDOMCDATASection_var section;
    if (SUCCEEDED(_document->CreateCDATASection(iData, section.Out())))
      KORIgnoreResult(_element->AppendChild(section), kLiteralNames);
  }

private:
  KORIDOMDocument* _document;
  KORIDOMElement* _element;
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

template <class I> bool Answers(KORBaseUnknown* iElement) {
  return static_cast<bool>(KORQuery<I>(iElement));
}

} // namespace

template <class I, class Fill>
KOREVrcXML::Element KOREVrcXML::MakeNode(KORIDOMNode* iParent, const char* iTag,
                                         KORBaseUnknown* iElement, Fill iFill) {
  Element element;
  if (!iParent || !_document || FAILED(_document->CreateElement(iTag, element.Out())))
    return {};
  if (auto model = KORQuery<I>(iElement)) {
    NodeWriter node(_document, element);
    iFill(node, model.get());
  }
  return SUCCEEDED(iParent->AppendChild(element)) ? element : Element();
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
  KORIXMLDOMDocumentBuilder_var builder;
  KORIgnoreResult(CreateKORIXMLDOMDocumentBuilder(builder.Out(), CLSID_XML4C_DOM),
                  KORVrcNullWhenUnread);
  // Without the DTD no document is made, which fails the export below.
  KORUnicodeString dtdPath;
  if (FAILED(KORGetImagePathName("VrConfig.dtd", dtdPath)))
    dtdPath.clear();
  _messages.clear();
  oMessages.clear();

  _document.reset();
  KORIDOMImplementation_var implementation;
  KORIDOMDocumentType_var documentType;
  if (builder)
    KORIgnoreResult(builder->GetDOMImplementation(implementation.Out()), KORVrcNullWhenUnread);
  if (implementation && !dtdPath.empty())
    KORIgnoreResult(implementation->CreateDocumentType("Config", "", dtdPath, documentType.Out()),
                    KORVrcNullWhenUnread);
  if (implementation && documentType)
    KORIgnoreResult(implementation->CreateDocument("", "Config", documentType, _document.Out()),
                    KORVrcNullWhenUnread);

  KORIVrcConfigure_var configureInterface = QueryImpl<KORIVrcConfigure>();
  _configure = dynamic_cast<KOREVrcConfigure*>(configureInterface.get());
  std::optional<KOREVrcConfigure::RenderingMemo> renderings;
  if (_configure)
    renderings.emplace(*_configure);
  bool written = false;
  if (builder && _document) {
    if (documentType)
      KORIgnoreResult(_document->AppendChild(documentType), kLiteralNames);
    if (auto root = QueryImpl<KORISpecObject>()) {
      if (Element config = MakeElementNode(_document, root)) {
        MakeMPKNode(config);
        MakeFSConfigNode(config);
      }
    }
    // A partly built tree is written all the same.
    const KORListValKORUnicodeString optionNames{"KOREncoding"};
    const KORListValKORUnicodeString optionValues{"UTF-8"};
    written = SUCCEEDED(builder->WriteToString(_document, oText, optionNames, optionValues));
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

KOREVrcXML::Element KOREVrcXML::MakeElementNode(KORIDOMNode* iParent, KORBaseUnknown* iElement) {
  struct ElementKind {
    bool (*answers)(KORBaseUnknown*);
    Element (KOREVrcXML::*make)(KORIDOMNode*, KORBaseUnknown*);
  };
  // The first interface answered decides; other kinds have no element.
  static constexpr ElementKind kKinds[] = {
      {&Answers<KORIVrcGraphicSpecs>, &KOREVrcXML::MakeGraphicSpecNode},
      {&Answers<KORIVrcGraphicResources>, &KOREVrcXML::MakeGraphicResourcesNode},
      {&Answers<KORIVrcDevices>, &KOREVrcXML::MakeDevicesNode},
      {&Answers<KORIVrcHead>, &KOREVrcXML::MakeHeadNode},
      {&Answers<KORIVrcView>, &KOREVrcXML::MakeViewNode},
      {&Answers<KORIVrcIG>, &KOREVrcXML::MakeIGNode},
      {&Answers<KORIVrcHandDevice>, &KOREVrcXML::MakeHandDeviceNode},
      {&Answers<KORIVrcWindow>, &KOREVrcXML::MakeWindowNode},
      {&Answers<KORIVrcRenderingSpec>, &KOREVrcXML::MakeRenderingSpecNode},
      {&Answers<KORIVrcTrackingStation>, &KOREVrcXML::MakeTrackingStationNode},
      {&Answers<KORIVrcTracker>, &KOREVrcXML::MakeTrackerNode},
      {&Answers<KORIVrcButtonDevice>, &KOREVrcXML::MakeButtonDeviceNode},
  };
  if (!iParent || !iElement)
    return {};
  Element made;
  if (Answers<KORIVrcConfig>(iElement)) {
    made = MakeConfigNode(iParent, iElement);
  } else if (KORQuery<KORIDOMElement>(iParent)) {
    for (const ElementKind& kind : kKinds)
      if (kind.answers(iElement)) {
        made = (this->*kind.make)(iParent, iElement);
        break;
      }
  }
  if (!made)
    return {};
  auto feature = KORQuery<KORISpecObject>(iElement);
  KORListValKORBaseUnknown_var* list = nullptr;
  if (feature)
    KORIgnoreResult(feature->ListChildren(&list), KORVrcNullWhenUnread);
  KOROwnedList children(list);
  if (children)
    for (const KORBaseUnknown_var& child : *children)
      MakeElementNode(made, child);
  return made;
}

KOREVrcXML::Element KOREVrcXML::MakeConfigNode(KORIDOMNode* iParent, KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcConfig>(iParent, "Config", iElement,
                                 [](NodeWriter& ioNode, KORIVrcConfig* iConfig) {
                                   KORUuid id;
                                   if (SUCCEEDED(iConfig->GetID(id)))
                                     ioNode.Text("ConfigID", id.ToText());
                                 });
}

KOREVrcXML::Element KOREVrcXML::MakeGraphicResourcesNode(KORIDOMNode* iParent,
                                                         KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcGraphicResources>(
      iParent, "GraphicResources", iElement,
      [](NodeWriter& ioNode, KORIVrcGraphicResources* iResources) {
        ioNode.Id("MainWindow", LinkOf(iResources, &KORIVrcGraphicResources::GetMainWindow).get());
      });
}

KOREVrcXML::Element KOREVrcXML::MakeIGNode(KORIDOMNode* iParent, KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcIG>(iParent, "IG", iElement, [](NodeWriter& ioNode, KORIVrcIG* iIG) {
    ioNode.Text("Name", NameOf(iIG));
  });
}

KOREVrcXML::Element KOREVrcXML::MakeWindowNode(KORIDOMNode* iParent, KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcWindow>(
      iParent, "Window", iElement, [this](NodeWriter& ioNode, KORIVrcWindow* iWindow) {
        // The view through the rendering found once, as the window's own
        // view would look the rendering up again.
        auto rendering = _configure ? _configure->RenderingOf(iWindow)
                                    : LinkOf(iWindow, &KORIVrcWindow::GetRendering);
        ioNode.Text("Name", NameOf(iWindow));
        ioNode.Id("WindowID", iWindow);
        ioNode.Id("View", LinkOf(rendering.get(), &KORIVrcRendering::GetView).get());
        // The viewport's values go out in its own order (left, top, width,
        // height) under the names Left, Right, Top, Bottom.
        auto viewport = LinkOf(iWindow, &KORIVrcWindow::GetViewport);
        ioNode.Numbers({"Left", "Right", "Top", "Bottom"},
                       FourValues([&](double& oA, double& oB, double& oC, double& oD) {
                         return viewport ? viewport->GetViewport(&oA, &oB, &oC, &oD) : E_FAIL;
                       }));
        if (auto spec = LinkOf(rendering.get(), &KORIVrcRendering::GetRenderingSpec))
          MakeRenderingSpecNode(ioNode.Element(), spec);
      });
}

KOREVrcXML::Element KOREVrcXML::MakeRenderingSpecNode(KORIDOMNode* iParent,
                                                      KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcRenderingSpec>(iParent, "RenderingSpec", iElement,
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

KOREVrcXML::Element KOREVrcXML::MakeGraphicSpecNode(KORIDOMNode* iParent,
                                                    KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcGraphicSpecs>(iParent, "GraphicSpecs", iElement,
                                       [](NodeWriter&, KORIVrcGraphicSpecs*) {});
}

KOREVrcXML::Element KOREVrcXML::MakeHeadNode(KORIDOMNode* iParent, KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcHead>(
      iParent, "Head", iElement, [](NodeWriter& ioNode, KORIVrcHead* iHead) {
        ioNode.Id("HeadID", iHead);
        ioNode.Id("Tracker", LinkOf(iHead, &KORIVrcHead::GetViewPointTracker).get());
        ioNode.Number("IPD", ReadValue(iHead, &KORIVrcHead::GetIPD, 0.0));
        ioNode.Placement(LocationOf(iHead));
        ioNode.Number("Type", ReadValue(iHead, &KORIVrcHead::GetType, KORVrcHeadCustom));
      });
}

KOREVrcXML::Element KOREVrcXML::MakeViewNode(KORIDOMNode* iParent, KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcView>(iParent, "View", iElement,
                               [this](NodeWriter& ioNode, KORIVrcView* iView) {
                                 ioNode.Text("Name", NameOf(iView));
                                 ioNode.Id("ViewID", iView);
                                 if (Answers<KORIVrcScreenView>(iView))
                                   MakeScreenViewNode(ioNode.Element(), iView);
                                 else if (Answers<KORIVrcCameraView>(iView))
                                   MakeCameraViewNode(ioNode.Element(), iView);
                               });
}

KOREVrcXML::Element KOREVrcXML::MakeScreenViewNode(KORIDOMNode* iParent, KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcScreenView>(
      iParent, "Screen", iElement, [](NodeWriter& ioNode, KORIVrcScreenView* iView) {
        auto area = LinkOf(iView, &KORIVrcScreenView::GetProjectionArea);
        std::array<double, 9> corners{};
        if (area) {
          // A corner that cannot be read is written at the origin.
          if (FAILED(area->GetUpperLeft(&corners[0], &corners[1], &corners[2])))
            std::fill_n(corners.begin(), 3, 0.0);
          if (FAILED(area->GetLowerLeft(&corners[3], &corners[4], &corners[5])))
            std::fill_n(corners.begin() + 3, 3, 0.0);
          if (FAILED(area->GetLowerRight(&corners[6], &corners[7], &corners[8])))
            std::fill_n(corners.begin() + 6, 3, 0.0);
        }
        ioNode.Numbers({"ULX", "ULY", "ULZ", "LLX", "LLY", "LLZ", "LRX", "LRY", "LRZ"}, corners);
      });
}

KOREVrcXML::Element KOREVrcXML::MakeCameraViewNode(KORIDOMNode* iParent, KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcCameraView>(
      iParent, "Camera", iElement, [](NodeWriter& ioNode, KORIVrcCameraView* iView) {
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

KOREVrcXML::Element KOREVrcXML::MakeDevicesNode(KORIDOMNode* iParent, KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcDevices>(iParent, "Devices", iElement,
                                  [](NodeWriter&, KORIVrcDevices*) {});
}

KOREVrcXML::Element KOREVrcXML::MakeHandDeviceNode(KORIDOMNode* iParent, KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcHandDevice>(
      iParent, "HandDevice", iElement, [](NodeWriter& ioNode, KORIVrcHandDevice* iHand) {
        ioNode.Id("HandID", iHand);
        ioNode.Id("Tracker", LinkOf(iHand, &KORIVrcHandDevice::GetPickingTracker).get());
        ioNode.Id("ButtonManager", LinkOf(iHand, &KORIVrcHandDevice::GetButtonManager).get());
        ioNode.Placement(LocationOf(iHand));
        ioNode.Number("Type", ReadValue(iHand, &KORIVrcHandDevice::GetType, KORVrcHandCustom));
      });
}

KOREVrcXML::Element KOREVrcXML::MakeButtonDeviceNode(KORIDOMNode* iParent,
                                                     KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcButtonDevice>(
      iParent, "ButtonDevice", iElement, [](NodeWriter& ioNode, KORIVrcButtonDevice* iDevice) {
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

KOREVrcXML::Element KOREVrcXML::MakeTrackingStationNode(KORIDOMNode* iParent,
                                                        KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcTrackingStation>(
      iParent, "TrackingStation", iElement,
      [this](NodeWriter& ioNode, KORIVrcTrackingStation* iStation) {
        ioNode.Text("Name", NameOf(iStation));
        ioNode.Text("DaemonName", ReadValue(iStation, &KORIVrcTrackingStation::GetDaemonName));
        KORMathTransformation ref;
        if (FAILED(iStation->GetRef(ref)))
          ref = KORMathTransformation();
        ioNode.Placement(ref);
        ioNode.Number("Type",
                      ReadValue(iStation, &KORIVrcTrackingStation::GetType, KORVrcStationCustom));
        ioNode.Number("Port", ReadValue(iStation, &KORIVrcTrackingStation::GetPort));
        MakeConfigFileNode(ioNode.Element(), iStation);
      });
}

KOREVrcXML::Element KOREVrcXML::MakeTrackerNode(KORIDOMNode* iParent, KORBaseUnknown* iElement) {
  return MakeNode<KORIVrcTracker>(
      iParent, "Tracker", iElement, [](NodeWriter& ioNode, KORIVrcTracker* iTracker) {
        ioNode.Id("TrackerID", iTracker);
        ioNode.Id("TrackedElement", LinkOf(iTracker, &KORIVrcTracker::GetTrackedElement).get());
        ioNode.Text("Name", NameOf(iTracker));
        KORMathTransformation offset;
        if (FAILED(iTracker->GetOffset(offset)))
          offset = KORMathTransformation();
        ioNode.Placement(offset);
      });
}

KOREVrcXML::Element KOREVrcXML::MakeConfigFileNode(KORIDOMNode* iParent, KORBaseUnknown* iStation) {
  auto station = KORQuery<KORIVrcTrackingStation>(iStation);
  // Every station gets its file, even when the generator wrote nothing.
  return MakeEmbeddedFileNode(
      iParent, "ConfigFile", /*iOnlyOnSuccess=*/false, iStation,
      [&](KORIVrcConfigure& ioConfigure, std::ostream& ioStream, KORUnicodeString& oMessages) {
        return ioConfigure.GenerateTrackingStationConfigFile(ioStream, station, oMessages, 1);
      });
}

KOREVrcXML::Element KOREVrcXML::MakeMPKNode(KORIDOMNode* iParent) {
  return MakeEmbeddedFileNode(
      iParent, "MPK", /*iOnlyOnSuccess=*/true, /*iStation=*/nullptr,
      [](KORIVrcConfigure& ioConfigure, std::ostream& ioStream, KORUnicodeString& oMessages) {
        return ioConfigure.GenerateMPK(ioStream, oMessages, 1);
      });
}

KOREVrcXML::Element KOREVrcXML::MakeFSConfigNode(KORIDOMNode* iParent) {
  return MakeEmbeddedFileNode(
      iParent, "FSConfig", /*iOnlyOnSuccess=*/true, /*iStation=*/nullptr,
      [](KORIVrcConfigure& ioConfigure, std::ostream& ioStream, KORUnicodeString& oMessages) {
        return ioConfigure.GenerateFSConfig(ioStream, oMessages, 1);
      });
}

KOREVrcXML::Element KOREVrcXML::MakeEmbeddedFileNode(KORIDOMNode* iParent, const char* iTag,
                                                     bool iOnlyOnSuccess, KORBaseUnknown* iStation,
                                                     const Generator& iGenerate) {
  auto configure = QueryImpl<KORIVrcConfigure>();
  if (!configure)
    return {};
  std::ostringstream stream;
  KORUnicodeString messages;
  const HRESULT generated = iGenerate(*configure, stream, messages);
  // The character data ends at a NUL of the text, which XML cannot carry.
  KORUnicodeString text = std::move(stream).str();
  _messages += messages;
  Element made;
  if (!iOnlyOnSuccess || SUCCEEDED(generated))
    made = MakeNode<KORIVrcConfigure>(
        iParent, iTag, configure,
        [&](NodeWriter& ioNode, KORIVrcConfigure*) { ioNode.CharacterData(text); });
  // Last, so that the text can move there rather than be copied.
  if (_generated)
    _generated->push_back(
        {iTag, KORBaseUnknown_var(iStation), generated, std::move(text), std::move(messages)});
  return made;
}
