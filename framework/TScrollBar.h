#pragma once
// TScrollBar: being written.
