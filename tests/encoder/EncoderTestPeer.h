// The tests' way to the encoder's private steps: each step of BuildSymbol on
// its own, so a test can look at the buffers and the matrix between steps.
#pragma once

#include "QrEncoder.h"

namespace mosaiko::test {

class EncoderTestPeer {
public:
    static int EncodeAuto(QrEncoder& e) { return e.EncodeAuto(); }
    static int EncodeFixed(QrEncoder& e) { return e.EncodeFixed(); }
    static int RemainingBits(const QrEncoder& e) { return e.RemainingBits(); }
    static int CharClass(const QrEncoder& e, int position, int remaining) { return e.CharClass(position, remaining); }
    static uint8_t* DataCodewords(QrEncoder& e) { return e.dataCodewords_; }
    static void ComputeErrorCorrection(QrEncoder& e) { e.ComputeErrorCorrection(); }
    static void InterleaveCodewords(QrEncoder& e) { e.InterleaveCodewords(); }
    static void BuildFunctionPatterns(QrEncoder& e) { e.BuildFunctionPatterns(); }
    static void PlaceCodewords(QrEncoder& e) { e.PlaceCodewords(); }
    static void ApplyMask(QrEncoder& e, int mask) { e.ApplyMask(mask); }
    static int EvaluatePenalty(const QrEncoder& e) { return e.EvaluatePenalty(); }
};

using Peer = EncoderTestPeer;

}  // namespace mosaiko::test
