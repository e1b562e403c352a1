#pragma once
// FormClass: being written.
