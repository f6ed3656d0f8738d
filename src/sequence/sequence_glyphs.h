#pragma once
// The glyphs of the sequence editor's buttons, drawn in code. All but the two
// step buttons carry a drawn disabled state of their own; the step buttons have
// one state and leave the disabled look to the style.
#include <QIcon>

enum class SequenceGlyph { New, Open, StepBack, StepForward, SaveAndClose, AddStep, DeleteStep };

QIcon sequenceGlyph(SequenceGlyph glyph);
