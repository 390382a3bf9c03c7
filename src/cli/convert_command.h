#pragma once
namespace pigmentaria::cli {
// `convert PICTURE -o PAINTING.kvp [options]`: a picture becomes a painting file.
int RunConvert(int argc, char** argv);
} // namespace pigmentaria::cli
