#pragma once

#include "engine/FeatureSet.h"
#include "engine/Scoring.h"

class Document;

// Compares an utterance with the tag of every tagged command of the
// document, in list order, each tag read from its ".tag" file at this call
// (a missing or damaged file scores far below 0). The winner is an index
// into the command list: the first of the highest accuracies above 0.
RecognitionScore match_tags(Document& document, const FeatureSet& utterance);
