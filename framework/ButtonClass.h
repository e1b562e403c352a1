#pragma once
// ButtonClass: being written.
