#include "visu/KORModelReader.h"
#include "visu/KORSceneWriters.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <sstream>

namespace {
std::string Number(double iValue) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", std::abs(iValue) < 0.0005 ? 0.0 : iValue);
  std::string result = text;
  result.erase(result.find_last_not_of('0') + 1);
  if (result.back() == '.')
    result.pop_back();
  return result;
}

std::string Escaped(const std::string& iText) {
  std::string result;
  for (char c : iText) {
    switch (c) {
    case '&': result += "&amp;"; break;
    case '<': result += "&lt;"; break;
    case '>': result += "&gt;"; break;
    case '"': result += "&quot;"; break;
    default: result += c;
    }
  }
  return result;
}

std::string Base64(const std::string& iBytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string result;
  for (std::size_t i = 0; i < iBytes.size(); i += 3) {
    std::uint32_t group = static_cast<unsigned char>(iBytes[i]) << 16;
    if (i + 1 < iBytes.size())
      group |= static_cast<unsigned char>(iBytes[i + 1]) << 8;
    if (i + 2 < iBytes.size())
      group |= static_cast<unsigned char>(iBytes[i + 2]);
    result += kDigits[(group >> 18) & 63];
    result += kDigits[(group >> 12) & 63];
    result += i + 1 < iBytes.size() ? kDigits[(group >> 6) & 63] : '=';
    result += i + 2 < iBytes.size() ? kDigits[group & 63] : '=';
  }
  return result;
}

std::string Colour(const KORGraphicAttribute& iLook) {
  char text[32];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", iLook.Red(), iLook.Green(), iLook.Blue());
  return text;
}

// The stroke or fill of a look, with its transparency.
std::string Paint(const KORGraphicAttribute& iLook) {
  const std::string opacity = Number(iLook.Alpha() / 255.0);
  if (iLook.IsFilled())
    return "fill=\"" + Colour(iLook) + "\" fill-opacity=\"" + opacity + "\" stroke=\"none\"";
  std::string paint = "fill=\"none\" stroke=\"" + Colour(iLook) + "\" stroke-opacity=\"" +
                      opacity + "\" stroke-width=\"" + Number(1.0 + 0.5 * iLook.Thickness()) +
                      "\"";
  if (iLook.IsDotted())
    paint += " stroke-dasharray=\"2 2\"";
  return paint;
}

// Writes the 2D reps in page coordinates: model y upward becomes -y.
class SvgWriter final : public KORPlacingVisitor {
public:

  void Finish(std::ostream& oStream) {
    if (_low.x() > _high.x())
      _low = _high = Eigen::Vector2d::Zero();
    const double margin = 10.0;
    const double width = _high.x() - _low.x() + 2 * margin;
    const double height = _high.y() - _low.y() + 2 * margin;
    oStream << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            << "<svg xmlns=\"http://www.w3.org/2000/svg\" "
               "xmlns:xlink=\"http://www.w3.org/1999/xlink\" viewBox=\""
            << Number(_low.x() - margin) << " " << Number(_low.y() - margin) << " "
            << Number(width) << " " << Number(height) << "\" width=\"" << Number(width)
            << "\" height=\"" << Number(height) << "\">\n";
    if (!_pictures.empty())
      oStream << "  <defs>\n" << _definitions.str() << "  </defs>\n";
    oStream << _body.str() << "</svg>\n";
  }

  using KORPlacingVisitor::Visit;
  void Visit(const KOR2DTo3DRep&) override {} // space content is the 3D scene's
  void Visit(const KOR2DPolygonRep& iRep) override {
    std::vector<Eigen::Vector3d> corners;
    for (const Eigen::Vector2d& corner : iRep.GetCorners())
      corners.emplace_back(corner.x(), corner.y(), 0.0);
    Shape("polygon", corners, iRep.GetAttribute());
  }
  void Visit(const KOR2DCustomRep& iRep) override {
    for (const KORPrimitive& primitive : iRep.GetPrimitives()) {
      switch (primitive.kind) {
      case KORPrimitive::Kind::Polygon:
        Shape("polygon", primitive.points, primitive.attribute);
        break;
      case KORPrimitive::Kind::Line:
      case KORPrimitive::Kind::Polyline:
      case KORPrimitive::Kind::Arrow:
        Shape("polyline", primitive.points, primitive.attribute);
        break;
      case KORPrimitive::Kind::Points:
        for (const Eigen::Vector3d& point : primitive.points) {
          const Eigen::Vector2d at = Page(point);
          _body << "  <circle cx=\"" << Number(at.x()) << "\" cy=\"" << Number(at.y())
                << "\" r=\"1\" fill=\"" << Colour(primitive.attribute) << "\"/>\n";
        }
        break;
      case KORPrimitive::Kind::Text: {
        const Eigen::Vector2d at = Page(primitive.points[0]);
        _body << "  <text x=\"" << Number(at.x()) << "\" y=\"" << Number(at.y())
              << "\" font-family=\"sans-serif\" font-size=\"14\" fill=\""
              << Colour(primitive.attribute) << "\">" << Escaped(primitive.text) << "</text>\n";
        break;
      }
      case KORPrimitive::Kind::Image:
        Image(primitive);
        break;
      }
    }
  }

private:
  Eigen::Vector2d Page(const Eigen::Vector3d& iPoint) {
    const Eigen::Vector3d placed = Place(iPoint);
    const Eigen::Vector2d page(placed.x(), -placed.y());
    _low = _low.cwiseMin(page);
    _high = _high.cwiseMax(page);
    return page;
  }
  void Shape(const char* iElement, const std::vector<Eigen::Vector3d>& iPoints,
             const KORGraphicAttribute& iLook) {
    _body << "  <" << iElement << " points=\"";
    for (std::size_t i = 0; i < iPoints.size(); ++i) {
      const Eigen::Vector2d at = Page(iPoints[i]);
      _body << (i ? " " : "") << Number(at.x()) << "," << Number(at.y());
    }
    _body << "\" " << Paint(iLook) << "/>\n";
  }
  // A picture is embedded once, in the definitions, and drawn wherever it is
  // shown by a reference to it: an installation shows the same picture once
  // per image generator, and a picture is some hundred kilobytes of text.
  const std::string& PictureId(const KORImage& iImage) {
    auto [found, added] = _pictures.try_emplace(&iImage);
    if (added) {
      found->second = "image" + std::to_string(_pictures.size());
      _definitions << "    <image id=\"" << found->second << "\" width=\"" << iImage.width
                   << "\" height=\"" << iImage.height << "\" xlink:href=\"data:image/bmp;base64,"
                   << Base64(iImage.fileBytes) << "\"/>\n";
    }
    return found->second;
  }
  // The picture's pixel (px, py), rows from the top, lies at model point
  // anchor + (px, height - py).
  void Image(const KORPrimitive& iPrimitive) {
    if (!iPrimitive.image)
      return;
    const double height = iPrimitive.image->height;
    const Eigen::Vector3d& anchor = iPrimitive.points[0];
    const Eigen::Vector2d origin = Page(anchor + Eigen::Vector3d(0, height, 0));
    const Eigen::Vector2d xEnd = Page(anchor + Eigen::Vector3d(1, height, 0));
    const Eigen::Vector2d yEnd = Page(anchor + Eigen::Vector3d(0, height - 1, 0));
    Page(anchor + Eigen::Vector3d(iPrimitive.image->width, 0, 0));
    const Eigen::Vector2d a = xEnd - origin, b = yEnd - origin;
    _body << "  <use xlink:href=\"#" << PictureId(*iPrimitive.image) << "\" transform=\"matrix("
          << Number(a.x()) << " " << Number(a.y()) << " " << Number(b.x()) << " "
          << Number(b.y()) << " " << Number(origin.x()) << " " << Number(origin.y())
          << ")\"/>\n";
  }

  std::ostringstream _body;
  std::ostringstream _definitions;
  std::map<const KORImage*, std::string> _pictures;
  Eigen::Vector2d _low = Eigen::Vector2d::Constant(std::numeric_limits<double>::max());
  Eigen::Vector2d _high = Eigen::Vector2d::Constant(std::numeric_limits<double>::lowest());
};
} // namespace

HRESULT KORWriteSvg(const KORRep& iRoot, std::ostream& oStream, std::string& oError) {
  SvgWriter writer;
  writer.Walk(iRoot);
  writer.Finish(oStream);
  if (!oStream) {
    oError = "the schematic could not be written";
    return E_FAIL;
  }
  return S_OK;
}
