#pragma once
// CanvasClass: being written.
