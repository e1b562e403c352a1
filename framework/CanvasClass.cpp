// CanvasClass: being written.
