// StormLib with a hash table that can never grow: stands in for the real
// library (CARVESTONE_MPQ_LIBRARY) in the test of a full archive.  Every
// other entry point is StormLib's own, found through this library's link.

extern "C" bool SFileSetMaxFileCount(void*, unsigned int)
{
    return false;
}
