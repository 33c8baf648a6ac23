/* Card-terminal library interface.
 *
 * The module loads the card-terminal library named in the station INI
 * ([CardTerminal] Library, default libsldll.so) with dlopen and calls its one
 * exported function, CardTrans, once per bank card transaction. A terminal
 * vendor's library with this signature can replace the simulator.
 *
 * request      zero-terminated GBK byte string, the fixed-field layout below.
 * response     buffer that receives the zero-terminated response text.
 * responseSize size of `response` in bytes, terminator included.
 * Returns the length of the response written (>= 0), or a negative value when
 * no response could be written (null arguments, buffer too small).
 *
 * Request layout (1-based byte positions; a field is blank-padded on the right
 * to its width and never cut, so a longer value moves every later field):
 *    1-2    2  "00" (sale)
 *    3-14  12  amount in fen (hundredths of a yuan), zero-padded on the left:
 *              123.45 is sent as 000000012345
 *   15-22   8  blanks
 *   23-28   6  blanks
 *   29-34   6  blanks
 *   35-42   8  station number (blanks)
 *   43-48   6  cashier code
 *   49-85  37  first swipe piece (the card number)
 *   86-189 104 second swipe piece
 *
 * Response layout (1-based byte positions; the module reads nothing else):
 *    1-6    response code, "000000" = approved
 *    9-28   card information (kept as the transaction's card field)
 *   33-38   kept as the transaction's third information field
 *   80-91   kept as the transaction's second information field
 */
#ifndef QIANTAI_CARDTRANS_H
#define QIANTAI_CARDTRANS_H

#if defined(QIANTAI_CARDTRANS_BUILD)
#define QIANTAI_CARDTRANS_EXPORT __attribute__((visibility("default")))
#else
#define QIANTAI_CARDTRANS_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef int (*CardTransFunction)(char* response, int responseSize, const char* request);

QIANTAI_CARDTRANS_EXPORT int CardTrans(char* response, int responseSize, const char* request);

#ifdef __cplusplus
}
#endif

#endif
