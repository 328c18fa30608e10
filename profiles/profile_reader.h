// Reading the two profile files into the model.
//
// Each reader takes the file's bytes. It checks that they are JSON, that "model" names this unit
// (23), and then reads the keys in the order of the format, writing each value into the model as
// soon as it is read. Every scalar must be a number, every array an array of exactly its size,
// every object an object; "eqArray" must hold "eqSize" bands. Beyond that, every value the model
// uses as an index must lie within the storage it indexes ("eqSize" within the output's bands,
// "currChannel" 0..7, speaker roles 0..24, "linkOutputs" -1..7), and every real must fit the
// model's 32-bit reals: a file that breaks any rule is refused as it stands, so nothing is ever
// written beyond the model's storage. Whole numbers are read with their fraction dropped toward
// zero; crossover values go through the filter setters.
//
// What a failure leaves: a file that is not JSON leaves the model untouched. A file for another
// model, and any structure error, reset the working record to its defaults (the identity of a
// connected unit stays, so the unit is not taken for unplugged); stored scenes and names already
// read from a whole-unit profile stay as read.
#pragma once

#include <string>
#include <string_view>

#include "model/output_channel.h"
#include "model/parameter_model.h"
#include "model/scene_record.h"

namespace profiles {

enum class ReadStatus {
  kOk,
  kCannotOpen,    // the file could not be opened or read
  kNotJson,       // the bytes are not one JSON text
  kOtherModel,    // "model" is a number other than 23
  kBadStructure,  // a key is missing, has the wrong type or size, or a value is out of range
};

struct ReadResult {
  ReadStatus status = ReadStatus::kOk;
  // Where the reader stopped, as "currentProfile.channels[2].eqArray" (empty for the whole file),
  // and why, as "has 30 elements, not 31".
  std::string keyPath;
  std::string reason;

  bool ok() const { return status == ReadStatus::kOk; }
  // "currentProfile.channels[2].eqArray has 30 elements, not 31", or the reason alone.
  std::string Describe() const;
};

// A scene profile (.spf) into the working record.
ReadResult ReadSceneProfile(std::string_view text, model::SceneRecord& working);

// A whole-unit profile (.wpf): the unit-wide values and "currentProfile" into the working
// record, the names into the scene names and "sceneArray" into the stored scenes 1..10.
ReadResult ReadWholeProfile(std::string_view text, model::ParameterModel& model);

// One channel object, as "channels" holds them, into `channel` with the band storage of output
// `output` (0..7); other keys are ignored. On failure the channel may
// be partly written (never beyond its storage).
ReadResult ReadChannelObject(std::string_view text, int output, model::OutputChannel& channel);

}  // namespace profiles
