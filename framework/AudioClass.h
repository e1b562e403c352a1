#pragma once
// AudioClass: being written.
