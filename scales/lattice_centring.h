#pragma once

#include <string_view>

namespace quorvane::scales {

// The centring of a cubic calibrant's lattice, which decides the reflections
// it shows at all: gold, platinum, neon and the rocksalt (B1) structures are
// face-centred, the CsCl (B2) structure primitive.
enum class Centring { Unknown, Primitive, FaceCentred, BodyCentred };

// "P", "F" or "I", as a scale file's "centring" gives it; Unknown for any
// other text.
Centring CentringFromText(std::string_view text);

// Whether the lattice's centring extinguishes reflection hkl: a face-centred
// lattice shows only h, k, l all odd or all even, a body-centred one only
// h + k + l even. Never for a primitive or unknown lattice.
bool SystematicallyAbsent(Centring centring, int h, int k, int l);

// "h, k, l all odd or all even": the rule a face- or body-centred lattice's
// reflections obey; empty for the others.
const char* ReflectionRule(Centring centring);

}  // namespace quorvane::scales
