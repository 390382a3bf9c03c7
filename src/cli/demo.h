#pragma once
namespace pigmentaria::cli {
int RunDemo(int argc, char** argv);
}
