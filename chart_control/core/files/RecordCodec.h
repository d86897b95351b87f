#pragma once

#include "BinaryIO.h"
#include "core/model/ChartRecords.h"

namespace pelomar::core {

// The records as the data file and the backup files both store them.

inline void putMethod(ByteWriter& w, const MethodRec& m) {
    w.putText(m.Method);
    w.putSingle(m.XPos);
}

inline void putLabel(ByteWriter& w, const LabelRec& l) {
    w.putText(l.Label);
    w.putLong(l.Color);
    w.putInteger(l.Offset);
    w.putSingle(l.XPos);
}

inline void putPoint(ByteWriter& w, const PointRec& p) {
    w.putSingle(p.Y1);
    w.putSingle(p.Y2);
}

inline MethodRec getMethod(ByteReader& r) {
    MethodRec m;
    m.Method = r.getText();
    m.XPos = r.getSingle();
    return m;
}

inline LabelRec getLabel(ByteReader& r) {
    LabelRec l;
    l.Label = r.getText();
    l.Color = r.getLong();
    l.Offset = r.getInteger();
    l.XPos = r.getSingle();
    return l;
}

inline PointRec getPoint(ByteReader& r) {
    PointRec p;
    p.Y1 = r.getSingle();
    p.Y2 = r.getSingle();
    return p;
}

}  // namespace pelomar::core
