// The canonical log lines a run is expected to produce, written from literal coordinates.
#pragma once

#include <string>
#include <vector>

namespace expected {

inline const std::string kSelection = "null=[Chnl.fsel]";

inline std::string Deselect() { return "setd " + kSelection + " T=enum(Ordn,None)"; }

inline std::string RectangleBody(const std::string& top, const std::string& left, const std::string& bottom,
                                 const std::string& right) {
  return kSelection + " T=Rctn{Top=" + top + "#Pxl Left=" + left + "#Pxl Btom=" + bottom + "#Pxl Rght=" + right +
         "#Pxl}";
}

// Sets the selection to the rectangle (top, left, bottom, right).
inline std::string Rectangle(const std::string& top, const std::string& left, const std::string& bottom,
                             const std::string& right) {
  return "setd " + RectangleBody(top, left, bottom, right);
}

inline std::string AddRectangle(const std::string& top, const std::string& left, const std::string& bottom,
                                const std::string& right) {
  return "AddT " + RectangleBody(top, left, bottom, right);
}

// A closed triangle: four "x y" points.
inline std::string Polygon(const std::vector<std::pair<std::string, std::string>>& points) {
  std::string list;
  for (const auto& point : points) {
    if (!list.empty()) list += ", ";
    list += "Pnt{Hrzn=" + point.first + "#Pxl Vrtc=" + point.second + "#Pxl}";
  }
  return "setd " + kSelection + " T=Plgn{Pts=list(" + list + ")} AntA=true";
}

inline std::string Play(const std::string& action) {
  return "Ply null=[Actn=\"" + action + "\", ASet=\"ZEM_Variations\"]";
}

// Whether the action set is loaded, asked before a run as one history state, and found.
inline std::string SetFound() { return "get [ASet=\"ZEM_Variations\"] -> found"; }

inline std::string SizeQuery(const std::string& key, int value) {
  return "get " + key + " -> " + std::to_string(value);
}

}  // namespace expected
