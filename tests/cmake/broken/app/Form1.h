#pragma once
struct Form1 {};
