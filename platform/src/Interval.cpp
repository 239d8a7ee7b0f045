#include <zevIRudez/Interval.h>

namespace Vo {

// Index weights, inclusive table: 4 the ranges meet (touching counts), 2 the subject sticks out
// of the object, 1 the object lies inside the subject. Below 4 the ranges do not meet, so every
// such entry is DISJOINT whatever the other bits say (only empty ranges reach 1 and 3). Equal
// ranges (5) are CONTAINED: a subject that coincides with its object lies inside it, which is
// the answer a culling caller wants for a box that fills its bound exactly.
template <>
const Interval<float>::Containment Interval<float>::_inclContMap[8] = {
    DISJOINT, DISJOINT, DISJOINT, DISJOINT, CONTAINED, CONTAINED, OVERLAPPING, CONTAINING};

// Index weights, exclusive table: 4 the subject sticks out, 2 the ranges overlap in more than an
// end point, 1 the object lies inside the subject. Without a proper overlap (0, 1, 4, 5) the
// ranges share at most an end point, which the exclusive test counts as no contact; only
// point-like ranges reach 0, 1 and 5. Equal ranges (3) are CONTAINED, as in the inclusive table.
template <>
const Interval<float>::Containment Interval<float>::_exclContMap[8] = {
    DISJOINT, DISJOINT, CONTAINED, CONTAINED, DISJOINT, DISJOINT, OVERLAPPING, CONTAINING};

}  // namespace Vo
