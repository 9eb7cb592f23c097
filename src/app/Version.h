// The program's version, as its version resource and its log give it.
#pragma once

#define ORV_VERSION_NUMBERS 1, 70, 0, 1212
#define ORV_FILE_VERSION_TEXT "1.70β (Build:1212)"
#define ORV_PRODUCT_VERSION_TEXT "1.70β"
