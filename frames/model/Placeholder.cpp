// Keeps the model library non-empty until the first model lands.
namespace parvel {
int FrameModelsLinked() { return 1; }
}  // namespace parvel
