// fontconfig/fontconfig.h - the web build's stand-in for fontconfig: the few
// calls the text service makes to find a face file, answered from a table of
// the faces embedded in the page (fonts_web.cpp). The table is what
// fontconfig answers on the build machine for the names the text service
// asks, so that a page finds the very files the Linux build finds.
#ifndef PLATFORM_WEB_FONTCONFIG_H
#define PLATFORM_WEB_FONTCONFIG_H

typedef unsigned char FcChar8;
typedef int FcBool;
#define FcFalse 0
#define FcTrue 1

typedef enum { FcResultMatch, FcResultNoMatch, FcResultTypeMismatch, FcResultNoId, FcResultOutOfMemory } FcResult;
typedef enum { FcMatchPattern, FcMatchFont, FcMatchScan } FcMatchKind;

typedef struct _FcPattern FcPattern;
typedef struct _FcConfig FcConfig;

#define FC_FAMILY "family"
#define FC_WEIGHT "weight"
#define FC_SLANT "slant"
#define FC_SCALABLE "scalable"
#define FC_FILE "file"
#define FC_INDEX "index"

#define FC_WEIGHT_REGULAR 80
#define FC_WEIGHT_DEMIBOLD 180
#define FC_WEIGHT_BOLD 200
#define FC_SLANT_ROMAN 0
#define FC_SLANT_ITALIC 100

#ifdef __cplusplus
extern "C" {
#endif

FcBool FcInit(void);
FcPattern* FcPatternCreate(void);
void FcPatternDestroy(FcPattern* pattern);
FcBool FcPatternAddString(FcPattern* pattern, const char* object, const FcChar8* value);
FcBool FcPatternAddInteger(FcPattern* pattern, const char* object, int value);
FcBool FcPatternAddBool(FcPattern* pattern, const char* object, FcBool value);
FcResult FcPatternGetString(const FcPattern* pattern, const char* object, int n, FcChar8** value);
FcResult FcPatternGetInteger(const FcPattern* pattern, const char* object, int n, int* value);
FcBool FcConfigSubstitute(FcConfig* config, FcPattern* pattern, FcMatchKind kind);
void FcDefaultSubstitute(FcPattern* pattern);
// The table's face for the pattern's family, weight and slant; a family the
// table does not hold gets the face fontconfig gives a name no font has.
FcPattern* FcFontMatch(FcConfig* config, FcPattern* pattern, FcResult* result);

#ifdef __cplusplus
}
#endif

#endif
